// The messages of a top-level window: each one about a control goes to that control, which says
// whether it tells of a click; the dialog keys' commands press the default and cancel buttons;
// the rest is painting, closing and density. What the window does not take, the dialog manager
// (DefDlgProc) does.
#include "platform/win/WinControl.h"
#include "platform/win/WinWindow.h"

namespace platform::win {

void WinWindow::clickRow(int row) {
    if (row < 0)
        return;
    HWND hwnd = control(row).hwnd();
    if (hwnd && (!::IsWindowEnabled(hwnd) || !::IsWindowVisible(hwnd)))
        return;
    raise({Event::Click, row});
}

LRESULT WinWindow::formMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    handled = true;
    switch (message) {
    case WM_COMMAND: {
        if (!m_ready)
            break;
        const int id = LOWORD(wParam);
        // Esc and Enter as the dialog keys report them: the cancel button, the default button.
        if (id == IDCANCEL) {
            clickRow(m_cancelRow);
            return 0;
        }
        if (id == IDOK) {
            clickRow(m_defaultRow);
            return 0;
        }
        const int row = id - firstId;
        if (row < 0 || row >= int(m_controls.size()))
            break;
        if (lParam != 0 && reinterpret_cast<HWND>(lParam) == control(row).hwnd())
            control(row).commanded(HIWORD(wParam));
        if (!control(row).clickedBy(HIWORD(wParam), lParam))
            break;
        raise({Event::Click, row});
        return 0;
    }
    case WM_NOTIFY: {
        if (!m_ready)
            break;
        const NMHDR& header = *reinterpret_cast<const NMHDR*>(lParam);
        for (const auto& control : m_controls)
            if (control->notify(header, lParam))
                return 0; // the window may be gone
        break;
    }
    case WM_CTLCOLORSTATIC: {
        const int row = rowOf(reinterpret_cast<HWND>(lParam));
        HBRUSH brush = row >= 0 ? control(row).colours(reinterpret_cast<HDC>(wParam)) : nullptr;
        if (!brush)
            break;
        return reinterpret_cast<LRESULT>(brush);
    }
    case WM_DRAWITEM: {
        const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const int row = int(draw.CtlID) - firstId;
        if (row >= 0 && row < int(m_controls.size()))
            control(row).draw(draw);
        return TRUE;
    }
    case WM_PRINTCLIENT:
        paintContainer(-1, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_DPICHANGED:
        rescale(LOWORD(wParam), HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_PAINT:
        paint(m_root, -1);
        if (m_firstPaint) {
            const std::function<void()> callback = std::move(m_firstPaint);
            m_firstPaint = nullptr;
            callback();
        }
        return 0;
    case WM_GETOBJECT:
        if (const LRESULT answered = m_accessible.answer(wParam, lParam))
            return answered;
        break;
    case WM_CLOSE:
        raise({Event::Close});
        return 0;
    case DM_GETDEFID: {
        // Enter presses the push button that has the focus, however it got it, else the
        // default button.
        const int focus = rowOf(::GetFocus());
        const int pressed = focus >= 0 && control(focus).isPushButton() ? focus : m_defaultRow;
        return pressed >= 0 ? MAKELRESULT(firstId + pressed, DC_HASDEFID) : 0;
    }
    default:
        break;
    }
    handled = false;
    return 0;
}

} // namespace platform::win
