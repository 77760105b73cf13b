#pragma once

#include <string>
#include <string_view>

namespace platform {

// The program builds its paths in one form: backslash separators, perhaps a drive such as "c:".
// On a system whose separator is "/", each backslash becomes "/", a leading drive letter with
// its colon stands for the root, and repeated separators fold into one. On Windows the text is
// used as it is.
std::string nativePath(std::string_view programPath);

// The same mapping as it is done on a system whose separator is "/", whatever this system is.
std::string slashPath(std::string_view programPath);

} // namespace platform
