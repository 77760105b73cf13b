#pragma once

#include "platform/Form.h"

#include <memory>

namespace platform {

// Every program-wide window instance, so that the program's end can take them all down.
class WindowInstanceBase {
public:
    WindowInstanceBase();
    virtual ~WindowInstanceBase();
    WindowInstanceBase(const WindowInstanceBase&) = delete;
    WindowInstanceBase& operator=(const WindowInstanceBase&) = delete;

    virtual Form* form() const = 0;
    // Destroys the window now, if loaded. Not for use inside one of its own handlers.
    virtual void destroyNow() = 0;

    static void hideAll();
    static void destroyAll();
    // Windows unloaded while an event was being handled go once it has been.
    static void destroyUnloaded();

protected:
    static void retire(std::unique_ptr<Form> form);
};

// The one instance of a window class: created on first use with its design-time values and its
// Form_Load run, shown modeless with no owner, hidden keeping its values, and unloaded by
// destroying it, after which the next use loads a fresh one.
template <class W> class WindowInstance final : public WindowInstanceBase {
public:
    // Loads the window if needed (without showing it) and returns it. A load step that fails
    // leaves the window loaded with what it did, as any handler does.
    W& load() {
        if (!m_window) {
            m_window = std::make_unique<W>();
            m_window->Form_Load();
        }
        return *m_window;
    }

    // The window if it is loaded, else nullptr. Does not load it.
    W* loaded() const { return m_window.get(); }
    bool isLoaded() const { return m_window != nullptr; }
    bool isVisible() const { return m_window && m_window->window().isVisible(); }

    // Loads if needed and shows; a visible window only comes to the front.
    W& show() {
        W& window = load();
        window.window().show();
        return window;
    }

    // Safe inside the window's own handlers: it disappears now and is destroyed once the event
    // has been handled; from now on the instance counts as not loaded.
    void unload() {
        if (m_window) {
            m_window->window().hide();
            retire(std::move(m_window));
        }
    }

    Form* form() const override { return m_window.get(); }
    void destroyNow() override { m_window.reset(); }

private:
    std::unique_ptr<W> m_window;
};

} // namespace platform
