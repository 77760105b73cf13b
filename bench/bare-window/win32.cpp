// A bare Win32 window the size of the splash, with the program's manifest: one class, one
// window with a fixed dialog frame, and the trace's marks at the start and after the first paint.
#include "platform/StartupTrace.h"

#include <windows.h>

namespace {
LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    static bool painted = false;
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        ::BeginPaint(window, &paint);
        ::EndPaint(window, &paint);
        if (!painted)
            startuptrace::mark("window-painted");
        painted = true;
        return 0;
    }
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}
} // namespace

int main() {
    startuptrace::mark("program-start");
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"BareWindow";
    ::RegisterClassW(&windowClass);
    startuptrace::mark("toolkit-ready");
    const HWND window = ::CreateWindowExW(0, L"BareWindow", L"", WS_POPUP | WS_DLGFRAME, 212, 241,
                                          498, 289, nullptr, nullptr, instance, nullptr);
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::UpdateWindow(window);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
