#pragma once

#include <QPointer>
#include <QWidget>

namespace platform {

// Every program-wide window instance, so that the program's end can take them all down.
class WindowInstanceBase {
public:
    WindowInstanceBase();
    virtual ~WindowInstanceBase();
    WindowInstanceBase(const WindowInstanceBase&) = delete;
    WindowInstanceBase& operator=(const WindowInstanceBase&) = delete;

    virtual QWidget* widget() const = 0;
    // Destroys the window now, if loaded. Not for use inside one of its own handlers.
    virtual void destroyNow() = 0;

    static void hideAll();
    static void destroyAll();
};

// The one instance of a window class: created on first use with its design-time values and its
// Form_Load run, shown modeless with no owner, hidden keeping its values, and unloaded by
// destroying it, after which the next use loads a fresh one.
template <class W> class WindowInstance final : public WindowInstanceBase {
public:
    // Loads the window if needed (without showing it) and returns it.
    W& load() {
        if (!m_window) {
            m_window = new W();
            m_window->Form_Load();
        }
        return *m_window;
    }

    // The window if it is loaded, else nullptr. Does not load it.
    W* loaded() const { return m_window.data(); }
    bool isLoaded() const { return !m_window.isNull(); }
    bool isVisible() const { return m_window && m_window->isVisible(); }

    // Loads if needed and shows; a visible window only comes to the front.
    W& show() {
        W& window = load();
        window.show();
        window.raise();
        window.activateWindow();
        return window;
    }

    void hide() {
        if (m_window)
            m_window->hide();
    }

    // Safe inside the window's own handlers: it disappears now and is deleted once control
    // returns to the event loop; from now on the instance counts as not loaded.
    void unload() {
        if (W* window = m_window.data()) {
            m_window = nullptr;
            window->hide();
            window->deleteLater();
        }
    }

    QWidget* widget() const override { return m_window.data(); }

    void destroyNow() override {
        if (W* window = m_window.data()) {
            m_window = nullptr;
            delete window;
        }
    }

private:
    QPointer<W> m_window;
};

} // namespace platform
