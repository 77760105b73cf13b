#include "platform/win/Accessible.h"

#include <commctrl.h>
#include <oleacc.h>

#include <new>
#include <utility>

namespace platform::win {

namespace {

using CreateStdAccessibleObjectFunction = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
using LresultFromObjectFunction = LRESULT(WINAPI*)(REFIID, WPARAM, IUnknown*);
using CoInitializeExFunction = HRESULT(WINAPI*)(void*, DWORD);
using CoDisconnectObjectFunction = HRESULT(WINAPI*)(IUnknown*, DWORD);
using SysAllocStringLenFunction = BSTR(WINAPI*)(const OLECHAR*, UINT);

// Reached at run time, at the first question: the program imports no library beyond the window
// system's own, and a run without a screen reader loads none of these.
struct Libraries {
    CreateStdAccessibleObjectFunction createStandard =
        systemCall<CreateStdAccessibleObjectFunction>(L"oleacc.dll", "CreateStdAccessibleObject");
    LresultFromObjectFunction lresultFromObject =
        systemCall<LresultFromObjectFunction>(L"oleacc.dll", "LresultFromObject");
    CoInitializeExFunction initialize =
        systemCall<CoInitializeExFunction>(L"ole32.dll", "CoInitializeEx");
    CoDisconnectObjectFunction disconnect =
        systemCall<CoDisconnectObjectFunction>(L"ole32.dll", "CoDisconnectObject");
    SysAllocStringLenFunction allocString =
        systemCall<SysAllocStringLenFunction>(L"oleaut32.dll", "SysAllocStringLen");
    bool complete() const {
        return createStandard && lresultFromObject && initialize && disconnect && allocString;
    }
};

// Loaded once; the thread joins COM for the rest of the run, since a screen reader in another
// process reaches the objects through it.
const Libraries* libraries() {
    static const Libraries* loaded = []() -> const Libraries* {
        static const Libraries functions;
        if (!functions.complete())
            return nullptr;
        const HRESULT joined = functions.initialize(nullptr, COINIT_APARTMENTTHREADED);
        return SUCCEEDED(joined) || joined == RPC_E_CHANGED_MODE ? &functions : nullptr;
    }();
    return loaded;
}

bool isSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

HRESULT giveText(const std::optional<std::wstring>& text, BSTR* out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!text)
        return S_FALSE;
    *out = libraries()->allocString(text->data(), UINT(text->size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

} // namespace

// Answers for its own element (CHILDID_SELF) from the window's answers; everything else, and
// whatever the answers leave open, from the standard object.
class AccessibleObject final : public IAccessible, public IOleWindow {
public:
    AccessibleObject(HWND hwnd, const AccessibleAnswers& answers, IAccessible* standard)
        : m_hwnd(hwnd), m_answers(&answers), m_standard(standard) {}

    // The window is going: every later question fails.
    void disconnect() {
        m_answers = nullptr;
        if (m_standard)
            m_standard->Release();
        m_standard = nullptr;
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (!out)
            return E_POINTER;
        if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible))
            *out = static_cast<IAccessible*>(this);
        else if (id == __uuidof(IOleWindow))
            *out = static_cast<IOleWindow*>(this);
        else
            return *out = nullptr, E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(::InterlockedIncrement(&m_refs)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = ::InterlockedDecrement(&m_refs);
        if (left == 0) {
            disconnect();
            delete this;
        }
        return ULONG(left);
    }

    // IOleWindow: which window this is, for the system's WindowFromAccessibleObject.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override {
        if (!out)
            return E_POINTER;
        *out = m_answers ? m_hwnd : nullptr;
        return m_answers ? S_OK : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

// Hands a question on to the standard object, while the window is there.
#define QUORVEX_STANDARD(call)                                                                     \
    do {                                                                                           \
        if (!m_standard)                                                                           \
            return CO_E_OBJNOTCONNECTED;                                                           \
        return m_standard->call;                                                                   \
    } while (false)

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        QUORVEX_STANDARD(GetTypeInfoCount(count));
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        QUORVEX_STANDARD(GetTypeInfo(index, locale, info));
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        QUORVEX_STANDARD(GetIDsOfNames(id, names, count, locale, ids));
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override {
        QUORVEX_STANDARD(
            Invoke(member, id, locale, flags, parameters, result, exception, argumentError));
    }

    // IAccessible: what the window's table says.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (m_answers && isSelf(child))
            if (auto answer = m_answers->accessibleName())
                return giveText(answer, name);
        QUORVEX_STANDARD(get_accName(child, name));
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        if (m_answers && isSelf(child))
            if (auto answer = m_answers->accessibleValue())
                return giveText(answer, value);
        QUORVEX_STANDARD(get_accValue(child, value));
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        if (m_answers && isSelf(child))
            if (auto answer = m_answers->accessibleDescription())
                return giveText(answer, description);
        QUORVEX_STANDARD(get_accDescription(child, description));
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (m_answers && isSelf(child) && role)
            if (const long answer = m_answers->accessibleRole()) {
                role->vt = VT_I4;
                role->lVal = answer;
                return S_OK;
            }
        QUORVEX_STANDARD(get_accRole(child, role));
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (!m_standard)
            return CO_E_OBJNOTCONNECTED;
        const HRESULT asked = m_standard->get_accState(child, state);
        if (!m_answers || !isSelf(child) || !state)
            return asked;
        const long standard = SUCCEEDED(asked) && state->vt == VT_I4 ? state->lVal : 0;
        state->vt = VT_I4;
        state->lVal = m_answers->accessibleState(standard);
        return S_OK;
    }

    // IAccessible: the standard object's.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        QUORVEX_STANDARD(get_accParent(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        QUORVEX_STANDARD(get_accChildCount(count));
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        QUORVEX_STANDARD(get_accChild(child, out));
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        QUORVEX_STANDARD(get_accHelp(child, help));
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        QUORVEX_STANDARD(get_accHelpTopic(file, child, topic));
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        QUORVEX_STANDARD(get_accKeyboardShortcut(child, shortcut));
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        QUORVEX_STANDARD(get_accFocus(focus));
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        QUORVEX_STANDARD(get_accSelection(selection));
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        QUORVEX_STANDARD(get_accDefaultAction(child, action));
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        QUORVEX_STANDARD(accSelect(flags, child));
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        QUORVEX_STANDARD(accLocation(left, top, width, height, child));
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        QUORVEX_STANDARD(accNavigate(direction, start, end));
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT* child) override {
        QUORVEX_STANDARD(accHitTest(left, top, child));
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        QUORVEX_STANDARD(accDoDefaultAction(child));
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override {
        return E_NOTIMPL;
    }

#undef QUORVEX_STANDARD

private:
    ~AccessibleObject() = default;

    LONG m_refs = 1;
    HWND m_hwnd;
    const AccessibleAnswers* m_answers; // null once the window has gone
    IAccessible* m_standard;
};

AccessibleServer::~AccessibleServer() {
    drop();
}

void AccessibleServer::serve(HWND hwnd, const AccessibleAnswers& answers, bool subclass) {
    drop();
    m_hwnd = hwnd;
    m_answers = &answers;
    m_subclassed = subclass && ::SetWindowSubclass(hwnd, subclassProc, 0,
                                                   reinterpret_cast<DWORD_PTR>(this)) != FALSE;
}

LRESULT AccessibleServer::answer(WPARAM wParam, LPARAM lParam) {
    if (!m_hwnd || LONG(lParam) != OBJID_CLIENT)
        return 0;
    const Libraries* functions = libraries();
    if (!functions)
        return 0;
    if (!m_object) {
        void* standard = nullptr;
        if (FAILED(functions->createStandard(m_hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                             &standard)) ||
            !standard)
            return 0;
        m_object = new (std::nothrow)
            AccessibleObject(m_hwnd, *m_answers, static_cast<IAccessible*>(standard));
        if (!m_object) {
            static_cast<IAccessible*>(standard)->Release();
            return 0;
        }
    }
    // The result holds a reference of its own, which the asker takes over.
    const LRESULT result = functions->lresultFromObject(__uuidof(IAccessible), wParam,
                                                        static_cast<IAccessible*>(m_object));
    return result > 0 ? result : 0;
}

void AccessibleServer::drop() {
    if (m_object) {
        AccessibleObject* object = std::exchange(m_object, nullptr);
        object->disconnect();
        // References held for other processes go now; the object itself with the last one.
        libraries()->disconnect(static_cast<IAccessible*>(object), 0);
        object->Release();
    }
    if (m_subclassed && m_hwnd)
        ::RemoveWindowSubclass(m_hwnd, subclassProc, 0);
    m_subclassed = false;
    m_hwnd = nullptr;
    m_answers = nullptr;
}

LRESULT CALLBACK AccessibleServer::subclassProc(HWND hwnd, UINT message, WPARAM wParam,
                                                LPARAM lParam, UINT_PTR, DWORD_PTR self) noexcept {
    auto& server = *reinterpret_cast<AccessibleServer*>(self);
    if (message == WM_GETOBJECT) {
        if (const LRESULT answered = server.answer(wParam, lParam))
            return answered;
    } else if (message == WM_NCDESTROY) {
        server.drop();
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

std::wstring withoutMnemonics(const std::wstring& caption) {
    std::wstring read;
    for (std::size_t at = 0; at < caption.size(); ++at) {
        if (caption[at] == L'&' && at + 1 < caption.size())
            ++at;
        read += caption[at];
    }
    return read;
}

} // namespace platform::win
