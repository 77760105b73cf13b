// Fonts and density: twips and points in a display's pixels, the font cache, and what a window
// redoes when it moves to a display of another density (WM_DPICHANGED).
#include "platform/win/Density.h"

#include "platform/RuntimeError.h"
#include "platform/Service.h"
#include "platform/win/WideText.h"
#include "platform/win/WinControl.h"
#include "platform/win/WinWindow.h"

#include <cmath>
#include <cstring>
#include <string>

namespace platform::win {

namespace {

constexpr int twipsPerInch = 1440;
constexpr int pointsPerInch = 72;

bool sameFont(const FontDesign& a, const FontDesign& b) {
    return std::strcmp(a.face, b.face) == 0 && a.points == b.points && a.weight == b.weight &&
           a.italic == b.italic && a.underline == b.underline;
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

class SystemMonitorDensity : public MonitorDensity {
public:
    int dpiAt(POINT point) override {
        UINT dpiX = 0;
        UINT dpiY = 0;
        constexpr int effectiveDpi = 0; // MDT_EFFECTIVE_DPI
        if (!m_dpiForMonitor ||
            FAILED(m_dpiForMonitor(::MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST),
                                   effectiveDpi, &dpiX, &dpiY)))
            return 0;
        return int(dpiX);
    }
    int dpiOf(HWND window) override { return m_dpiForWindow ? int(m_dpiForWindow(window)) : 0; }
    bool frameFor(RECT& client, DWORD style, bool menu, DWORD exStyle, int dpi) override {
        return m_adjustForDpi && m_adjustForDpi(&client, style, menu, exStyle, UINT(dpi));
    }

private:
    GetDpiForWindowFunction m_dpiForWindow =
        systemCall<GetDpiForWindowFunction>(L"user32.dll", "GetDpiForWindow");
    AdjustWindowRectExForDpiFunction m_adjustForDpi =
        systemCall<AdjustWindowRectExForDpiFunction>(L"user32.dll", "AdjustWindowRectExForDpi");
    GetDpiForMonitorFunction m_dpiForMonitor =
        systemCall<GetDpiForMonitorFunction>(L"shcore.dll", "GetDpiForMonitor");
};

} // namespace

MonitorDensity& MonitorDensity::current() {
    return currentService<MonitorDensity, SystemMonitorDensity>();
}

MonitorDensity* MonitorDensity::install(MonitorDensity* density) {
    return installService(density);
}

Density Density::ofScreen() {
    HDC screen = ::GetDC(nullptr);
    const Density density{::GetDeviceCaps(screen, LOGPIXELSX), ::GetDeviceCaps(screen, LOGPIXELSY)};
    ::ReleaseDC(nullptr, screen);
    return density;
}

int Density::pixelsX(int twips) const {
    return ::MulDiv(twips, dpiX, twipsPerInch);
}

int Density::pixelsY(int twips) const {
    return ::MulDiv(twips, dpiY, twipsPerInch);
}

int Density::twipsX(int pixels) const {
    return ::MulDiv(pixels, twipsPerInch, dpiX);
}

int Density::twipsY(int pixels) const {
    return ::MulDiv(pixels, twipsPerInch, dpiY);
}

FontCache& FontCache::operator=(FontCache&& other) noexcept {
    if (this != &other) {
        clear();
        m_fonts = std::exchange(other.m_fonts, {});
    }
    return *this;
}

FontCache::~FontCache() {
    clear();
}

void FontCache::clear() {
    for (auto& [design, handle] : m_fonts)
        ::DeleteObject(handle);
    m_fonts.clear();
}

HFONT FontCache::font(const FontDesign& design, const Density& density) {
    for (const auto& [known, handle] : m_fonts)
        if (sameFont(known, design))
            return handle;
    LOGFONTW logFont{};
    logFont.lfHeight = -int(std::lround(design.points * density.dpiY / pointsPerInch));
    logFont.lfWeight = design.weight;
    logFont.lfItalic = design.italic;
    logFont.lfUnderline = design.underline;
    logFont.lfCharSet = DEFAULT_CHARSET;
    const std::wstring face = wide(design.face);
    face.copy(logFont.lfFaceName, LF_FACESIZE - 1);
    HFONT handle = ::CreateFontIndirectW(&logFont);
    if (!handle)
        throw RuntimeError::of(RuntimeError::OutOfMemory);
    m_fonts.emplace_back(design, handle);
    return handle;
}

// Moved to a display of another density: the same twips in that density's pixels, the fonts
// and pictures made afresh for it, and the frame where the system suggests.
void WinWindow::rescale(int dpiX, int dpiY, const RECT& suggested) {
    m_density = {dpiX, dpiY};
    // The controls keep using the old fonts until they have their new ones.
    const FontCache oldFonts = std::move(m_fonts);
    ::SendMessageW(m_root, WM_SETFONT, reinterpret_cast<WPARAM>(font(m_design.font)), FALSE);
    for (const auto& control : m_controls)
        control->rescale();
    clipOverlaps(-1);
    for (const auto& control : m_controls)
        if (control->isContainer())
            clipOverlaps(control->row());
    setIcons();
    ::SetWindowPos(m_root, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(m_root, nullptr, TRUE);
}

} // namespace platform::win
