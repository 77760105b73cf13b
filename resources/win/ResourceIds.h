#pragma once

// The resources of quorvex.exe, shared by the resource script and the code that loads them.
// The program icon has the lowest id, so that it is the one the system shows for the file.
#define QUORVEX_ICON_PROGRAM 1
#define QUORVEX_ICON_HORSE 2
