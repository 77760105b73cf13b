// What a user sees of a running program, read from outside as the system shows it: every
// top-level window of the processes with a given program name, and every control in them, with
// its class, its text (WM_GETTEXT, as a screen reader reads it), its place on the screen, and
// whether it is visible, enabled, checked or focused. Printed as one JSON document.
// With --accessible, each window also as a screen reader reads it through Active Accessibility
// (its client area's name, role, value, state and description), which waits for the program to
// answer: only for a program at rest. With --events SECONDS, instead, the alerts and value
// changes the program raises in that time, each with what its object says then.
// Usage: quorvex_inspect.exe [--accessible | --events SECONDS] [PROGRAM.exe]
//        (quorvex.exe when none is named)
#include "platform/win/WideText.h"
#include "platform/win/Win32.h"

#include <oleacc.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

std::wstring programName = L"quorvex.exe";
bool readAccessible = false;

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// What only the program itself can say (a field's text, a check box's state) is asked once every
// window has been looked at, and not waited for long: a busy program answers late, and its
// windows may have changed by then. Until then the description holds a mark in its place.
struct Question {
    HWND window;
    bool checkState;
};
std::vector<Question> questions;

std::string ask(HWND window, bool checkState) {
    questions.push_back({window, checkState});
    std::string mark(1, '\x01');
    mark += std::to_string(questions.size() - 1);
    return mark += '\x01';
}

std::string answer(const Question& question) {
    DWORD_PTR result = 0;
    if (question.checkState) {
        ::SendMessageTimeoutW(question.window, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 100, &result);
        return result == BST_CHECKED ? "true" : "false";
    }
    if (!::SendMessageTimeoutW(question.window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 100,
                               &result))
        return quoted("");
    std::wstring text(std::size_t(result) + 1, L'\0');
    ::SendMessageTimeoutW(question.window, WM_GETTEXT, text.size(),
                          reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 100, &result);
    text.resize(std::size_t(result));
    return quoted(platform::win::utf8(text));
}

std::string textOf(IAccessible& object, VARIANT child,
                   HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
    BSTR text = nullptr;
    if (FAILED((object.*get)(child, &text)) || !text)
        return "null";
    const std::string out = quoted(platform::win::utf8(std::wstring(text, ::SysStringLen(text))));
    ::SysFreeString(text);
    return out;
}

std::string numberOf(IAccessible& object, VARIANT child,
                     HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*)) {
    VARIANT number;
    ::VariantInit(&number);
    if (FAILED((object.*get)(child, &number)) || number.vt != VT_I4)
        return "null";
    return std::to_string(number.lVal);
}

// What a screen reader reads of an accessible object, as a JSON object.
std::string readAccessibly(IAccessible& object, VARIANT child) {
    return "{\"name\": " + textOf(object, child, &IAccessible::get_accName) +
           ", \"role\": " + numberOf(object, child, &IAccessible::get_accRole) +
           ", \"value\": " + textOf(object, child, &IAccessible::get_accValue) +
           ", \"state\": " + numberOf(object, child, &IAccessible::get_accState) +
           ", \"description\": " + textOf(object, child, &IAccessible::get_accDescription) + "}";
}

std::string accessibleOf(HWND window) {
    IAccessible* object = nullptr;
    if (FAILED(::AccessibleObjectFromWindow(window, DWORD(OBJID_CLIENT), __uuidof(IAccessible),
                                            reinterpret_cast<void**>(&object))) ||
        !object)
        return "null";
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    const std::string out = readAccessibly(*object, self);
    object->Release();
    return out;
}

// Labels, buttons and windows keep their texts with the system, which tells them at once; a
// field holds its own.
std::string textOf(HWND window, const std::wstring& className) {
    if (className == L"Edit" || className == L"ComboBox")
        return ask(window, false);
    wchar_t text[1024]{};
    return quoted(platform::win::utf8(
        std::wstring(text, std::size_t(::InternalGetWindowText(window, text, 1024)))));
}

std::string describe(HWND window, HWND focus) {
    wchar_t className[128]{};
    ::GetClassNameW(window, className, 128);
    RECT place{};
    ::GetWindowRect(window, &place);
    RECT client{};
    ::GetClientRect(window, &client);
    POINT origin{0, 0};
    ::ClientToScreen(window, &origin);
    const LONG style = ::GetWindowLongW(window, GWL_STYLE);
    std::string out = "{\"handle\": " + std::to_string(reinterpret_cast<std::uintptr_t>(window)) +
                      ", \"id\": " + std::to_string(::GetDlgCtrlID(window)) +
                      ", \"class\": " + quoted(platform::win::utf8(className)) +
                      ", \"text\": " + textOf(window, className) + ", \"rect\": [" +
                      std::to_string(place.left) + ", " + std::to_string(place.top) + ", " +
                      std::to_string(place.right) + ", " + std::to_string(place.bottom) +
                      "], \"client\": [" + std::to_string(origin.x) + ", " +
                      std::to_string(origin.y) + ", " + std::to_string(origin.x + client.right) +
                      ", " + std::to_string(origin.y + client.bottom) + "]" +
                      ", \"visible\": " + (style & WS_VISIBLE ? "true" : "false") +
                      ", \"enabled\": " + (::IsWindowEnabled(window) ? "true" : "false") +
                      ", \"focused\": " + (window == focus ? "true" : "false");
    if (std::wstring(className) == L"Button")
        out += ", \"checked\": " + ask(window, true);
    if (readAccessible)
        out += ", \"accessible\": " + accessibleOf(window);
    std::vector<std::string> children;
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        children.push_back(describe(child, focus));
    out += ", \"children\": [";
    for (std::size_t i = 0; i < children.size(); ++i)
        out += (i ? ", " : "") + children[i];
    return out + "]}";
}

bool ofTheProgram(HWND window) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    HANDLE handle = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
    if (!handle)
        return false;
    wchar_t path[MAX_PATH]{};
    DWORD size = MAX_PATH;
    const bool named = ::QueryFullProcessImageNameW(handle, 0, path, &size);
    ::CloseHandle(handle);
    const std::wstring image(path, size);
    const std::size_t slash = image.find_last_of(L"\\/");
    return named && _wcsicmp(image.substr(slash + 1).c_str(), programName.c_str()) == 0;
}

std::vector<std::string> windows;

void collect(HWND window) {
    if (!ofTheProgram(window))
        return;
    const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    ::GetGUIThreadInfo(thread, &gui);
    std::string entry = describe(window, gui.hwndFocus);
    entry.insert(entry.size() - 1,
                 std::string(", \"active\": ") + (gui.hwndActive == window ? "true" : "false"));
    windows.push_back(entry);
}

std::vector<std::string> events;

void CALLBACK onEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                      DWORD) {
    if (!window || !ofTheProgram(window))
        return;
    std::string entry = std::string("{\"event\": ") +
                        (event == EVENT_SYSTEM_ALERT ? "\"alert\"" : "\"valuechange\"") +
                        ", \"handle\": " + std::to_string(reinterpret_cast<std::uintptr_t>(window));
    IAccessible* accessible = nullptr;
    VARIANT element;
    ::VariantInit(&element);
    if (SUCCEEDED(::AccessibleObjectFromEvent(window, DWORD(object), DWORD(child), &accessible,
                                              &element)) &&
        accessible) {
        entry += ", \"accessible\": " + readAccessibly(*accessible, element);
        accessible->Release();
    }
    events.push_back(entry + "}");
}

// The events of the given number of seconds, as one JSON list.
int watchEvents(int seconds) {
    HWINEVENTHOOK alerts = ::SetWinEventHook(EVENT_SYSTEM_ALERT, EVENT_SYSTEM_ALERT, nullptr,
                                             onEvent, 0, 0, WINEVENT_OUTOFCONTEXT);
    HWINEVENTHOOK changes = ::SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE,
                                              nullptr, onEvent, 0, 0, WINEVENT_OUTOFCONTEXT);
    const UINT_PTR timer = ::SetTimer(nullptr, 0, UINT(seconds) * 1000, nullptr);
    MSG msg{};
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0 &&
           !(msg.message == WM_TIMER && msg.wParam == timer))
        ::DispatchMessageW(&msg);
    ::UnhookWinEvent(alerts);
    ::UnhookWinEvent(changes);
    std::string out = "[";
    for (std::size_t i = 0; i < events.size(); ++i)
        out += (i ? ",\n " : "") + events[i];
    out += "]\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    return alerts && changes ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    int watch = 0;
    for (int at = 1; at < argc; ++at) {
        const std::wstring argument = argv[at];
        if (argument == L"--accessible")
            readAccessible = true;
        else if (argument == L"--events" && at + 1 < argc)
            watch = std::max(1, _wtoi(argv[++at]));
        else
            programName = argument;
    }
    if (readAccessible || watch)
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (watch)
        return watchEvents(watch);
    std::vector<HWND> all;
    for (HWND window = ::GetWindow(::GetDesktopWindow(), GW_CHILD); window;
         window = ::GetWindow(window, GW_HWNDNEXT))
        all.push_back(window);
    for (HWND window : all)
        collect(window);
    std::string described = "[";
    for (std::size_t i = 0; i < windows.size(); ++i)
        described += (i ? ",\n " : "") + windows[i];
    described += "]\n";
    std::string out;
    for (std::size_t at = 0; at < described.size(); ++at) {
        if (described[at] != '\x01') {
            out += described[at];
            continue;
        }
        const std::size_t end = described.find('\x01', at + 1);
        out += answer(questions.at(std::stoul(described.substr(at + 1, end - at - 1))));
        at = end;
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
