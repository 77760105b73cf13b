#pragma once

#include "platform/Window.h"
#include "platform/win/Win32.h"

#include <utility>
#include <vector>

// Fonts and density: the windows' tables are in twips and points, and each window turns them
// into pixels at the density of the display it stands on, which can change while it is open.
namespace platform::win {

constexpr int standardDpi = 96;

// A display's dots per inch, and the twips and pictures in its pixels.
struct Density {
    int dpiX = standardDpi;
    int dpiY = standardDpi;

    // The density the system gives the program's windows when they are made.
    static Density ofScreen();

    int pixelsX(int twips) const;
    int pixelsY(int twips) const;
    int twipsX(int pixels) const;
    int twipsY(int pixels) const;
    // A size in pixels of the standard density, at this one: the pictures are 16 pixels there.
    int scaled(int standardPixels) const { return ::MulDiv(standardPixels, dpiX, standardDpi); }
};

// The system's calls for the density of each monitor, where it has them (Windows 10 1607 and
// later; a monitor's alone from Windows 8.1). They are found at run time, so that the program
// still starts on Windows 7, where each answers that it does not know. Tests install stand-ins.
class MonitorDensity {
public:
    virtual ~MonitorDensity() = default;
    // The density of the monitor nearest a point of the screen, in pixels; 0 where unknown.
    virtual int dpiAt(POINT point) = 0;
    // The density a window has on the system's monitor, 0 where unknown.
    virtual int dpiOf(HWND window) = 0;
    // AdjustWindowRectExForDpi: the frame around a client area at a density; false where the
    // system cannot tell.
    virtual bool frameFor(RECT& client, DWORD style, bool menu, DWORD exStyle, int dpi) = 0;

    static MonitorDensity& current();
    // Installs a replacement (nullptr restores the system's); returns the one it replaces.
    static MonitorDensity* install(MonitorDensity* density);
};

// The fonts of one window at one density, each made once and deleted with the cache.
class FontCache {
public:
    FontCache() = default;
    FontCache(FontCache&& other) noexcept : m_fonts(std::exchange(other.m_fonts, {})) {}
    FontCache& operator=(FontCache&& other) noexcept;
    ~FontCache();

    HFONT font(const FontDesign& design, const Density& density);

private:
    void clear();
    std::vector<std::pair<FontDesign, HFONT>> m_fonts;
};

} // namespace platform::win
