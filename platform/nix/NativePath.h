#pragma once

#include <string>
#include <string_view>

namespace platform {

// The program builds its paths in one form: backslash separators, perhaps a drive such as "c:".
// Windows takes that form as it is. On a system whose separator is "/", each backslash becomes
// "/", a leading drive letter with its colon stands for the root, and repeated separators fold
// into one.
std::string slashPath(std::string_view programPath);

} // namespace platform
