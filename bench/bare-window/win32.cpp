// The floor of a first window in Win32 with the program's manifest, the size of the splash:
// one class, one window with a fixed dialog frame, and the trace's marks at the start and after
// the first paint. Built three times: text-window holds one static control showing one word in
// the dialog font, the least any window with text costs (the common controls and their look
// loaded, a font made, a line drawn); ten-window holds ten of them (FLOOR_WORDS=10), as many
// child windows as the splash, which tells what a child window costs; bare-window (BARE_EMPTY)
// shows nothing at all.
#include "platform/StartupTrace.h"

#include <windows.h>

#ifdef BARE_EMPTY
#define FLOOR_WORDS 0
#elif !defined(FLOOR_WORDS)
#define FLOOR_WORDS 1
#endif

namespace {
HWND words[FLOOR_WORDS + 1] = {};

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    static bool painted = false;
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        ::BeginPaint(window, &paint);
        ::EndPaint(window, &paint);
        if (!painted) {
            for (HWND word : words)
                if (word)
                    ::UpdateWindow(word); // the words drawn too
            startuptrace::mark("window-painted");
        }
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
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (FLOOR_WORDS > 0)
        ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    const HFONT font = FLOOR_WORDS > 0 ? ::CreateFontIndirectW(&metrics.lfMessageFont) : nullptr;
    for (int i = 0; i < FLOOR_WORDS; ++i) {
        words[i] = ::CreateWindowExW(0, L"Static", L"Quorvex", WS_CHILD | WS_VISIBLE, 16,
                                     16 + 24 * i, 200, 20, window, nullptr, instance, nullptr);
        ::SendMessageW(words[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::UpdateWindow(window);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
