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

namespace platform::win {

// A function of a system library found at run time, or null where this Windows has none: what
// the program imports stays to the libraries every Windows it runs on has.
template <class Function> Function systemCall(const wchar_t* library, const char* name) {
    HMODULE module = ::GetModuleHandleW(library);
    if (!module)
        module = ::LoadLibraryW(library);
    return module
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)))
               : nullptr;
}

} // namespace platform::win
