#pragma once

#include <string>

namespace platform {

// The folder that holds the running executable, in the form the user sees in a folder field:
// this system's separators, no trailing separator unless the folder is a root.
std::string programFolder();

// The rule on its own, for a folder given in this system's form ("/opt/quorvex/",
// "C:\Quorvex\", or "C:/Quorvex"). Trailing separators go unless what is left is a root: a run
// of separators only keeps its first ("/"), a drive "C:", "C:/" or "C:\" gives "C:\". A folder
// on a drive is written with backslashes throughout; any other keeps its separators as given,
// so a share "\\server\share\" becomes "\\server\share". An empty text stays empty.
std::string programFolderText(std::string dir);

} // namespace platform
