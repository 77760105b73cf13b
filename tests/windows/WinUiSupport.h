#pragma once

#include "platform/Form.h"
#include "platform/Window.h"
#include "platform/win/Win32.h"

#include <functional>
#include <string>
#include <vector>

// What the tests of the Win32 front end share: the user's input as the messages it makes, fed
// through the program's own message handling, and what the system reports of the windows.
namespace wintest {

// The events a window reported, and what to do on each as it comes.
class RecordingSink : public platform::EventSink {
public:
    void handle(const platform::Event& event) noexcept override;

    std::vector<platform::Event> events;
    std::function<void(const platform::Event&)> onEvent;
};

// Handles what waits in the queue as the event loop would.
void pump();
// A key going down and up at the focus, with Shift, Ctrl or Alt held as asked (1, 2, 4).
void pressKey(WPARAM key, int shift = 0);
// A character typed at the focus.
void typeText(const std::wstring& text);
// A click of the left button at a point of a window's client area, where the system's hit test
// sends it: the deepest visible child that takes the click.
void clickAt(HWND window, POINT point);

// The twips of the layout in this display's pixels.
int pixelsX(int twips);
int pixelsY(int twips);
// A window's place in the client area of its parent, in pixels.
RECT placeInParent(HWND window);
std::string className(HWND window);
std::string windowText(HWND window);
// The colour of a point of a window's client area as its own drawing leaves it: a colour no
// window paints, where it paints nothing.
COLORREF drawnAt(HWND window, POINT point);
inline constexpr COLORREF unpainted = RGB(1, 2, 3);

// Fails the test with every fault the layout check (tests/support/LayoutCheck.h) finds in the
// windows that the Win32 front end built for a window, as the window stands.
void checkLayout(const platform::Form& form);

} // namespace wintest
