#pragma once

#include "platform/Window.h"
#include "platform/win/Density.h"
#include "platform/win/Win32.h"

// Painting what the system draws not: frames, lines and pictures. Where controls overlap is
// WinWindow::clipOverlaps, in Painting.cpp with these.
namespace platform::win {

// A frame's etched border, with its caption (the window's text) cut into the top edge from
// captionLeft on.
void drawFrame(HWND frame, HDC dc, int captionLeft);

// A line of the table, in its colour and width.
void drawLine(HDC dc, const ControlDesign& line, const Density& density);

// One of the program's icons at that side in pixels, or nullptr where it cannot be had.
HICON loadIcon(int id, int side);
void destroyIcon(HICON icon);

// A picture box's face: the picture at that side in pixels from the top left corner, or for
// side 0 stretched over the whole box.
void drawPicture(HDC dc, const RECT& box, HICON icon, int side);

} // namespace platform::win
