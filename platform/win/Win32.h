#pragma once

// windows.h as the Windows front end uses it: without the rarely used parts, without the min and
// max macros, and without the MessageBox macro, which would rename platform::MessageBox.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef MessageBox
