#pragma once

#include <string>
#include <string_view>

// The program's texts are UTF-8; the system's W functions take UTF-16. The conversions happen
// here, at the edge, and nowhere else.
namespace platform::win {

std::wstring wide(std::string_view text);
std::string utf8(std::wstring_view text);

} // namespace platform::win
