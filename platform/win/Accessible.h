#pragma once

#include "platform/win/Win32.h"

#include <optional>
#include <string>

// Screen readers ask each window for its accessible object (WM_GETOBJECT). The front end answers
// with an object of its own over the system's standard one: what the window's table knows (the
// name, the role, the value, the state, a description) it gives itself, so that every system
// hears the same, whether or not it offers annotations; the rest (places, children, actions) is
// the standard object's. The objects are made at the first question, so that a run without a
// screen reader never loads the accessibility libraries nor starts COM.
namespace platform::win {

class AccessibleObject;

// What a window tells of itself, asked afresh at every question; an empty answer, or role 0,
// leaves it to the standard object.
class AccessibleAnswers {
public:
    virtual std::optional<std::wstring> accessibleName() const { return {}; }
    virtual long accessibleRole() const { return 0; }
    virtual std::optional<std::wstring> accessibleValue() const { return {}; }
    virtual std::optional<std::wstring> accessibleDescription() const { return {}; }
    // The state, made from the standard object's.
    virtual long accessibleState(long standard) const { return standard; }

protected:
    ~AccessibleAnswers() = default;
};

// The accessible object of one window. A served control's messages are subclassed for
// WM_GETOBJECT; a top-level window hands the message on to answer() itself. The object goes
// with the window (WM_NCDESTROY) or with this, whichever is first; a screen reader that still
// holds it then gets CO_E_OBJNOTCONNECTED from every question.
class AccessibleServer {
public:
    AccessibleServer() = default;
    ~AccessibleServer();
    AccessibleServer(const AccessibleServer&) = delete;
    AccessibleServer& operator=(const AccessibleServer&) = delete;

    // Answers for this window from now on; subclass: whether to catch its WM_GETOBJECT.
    void serve(HWND hwnd, const AccessibleAnswers& answers, bool subclass = true);
    // WM_GETOBJECT's result for the client area, or 0 to leave the question to the system.
    LRESULT answer(WPARAM wParam, LPARAM lParam);
    // Disconnects the object and stops serving.
    void drop();

private:
    static LRESULT CALLBACK subclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self) noexcept;

    HWND m_hwnd = nullptr;
    const AccessibleAnswers* m_answers = nullptr;
    AccessibleObject* m_object = nullptr;
    bool m_subclassed = false;
};

// The text of a caption as it is read: each mnemonic's "&" left out, "&&" read as "&".
std::wstring withoutMnemonics(const std::wstring& caption);

} // namespace platform::win
