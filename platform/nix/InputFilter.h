#pragma once

#include "platform/Window.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <vector>

class QKeyEvent;

// The keys and clicks a window handles itself, before its controls see them: the key preview of
// the window's handlers, Enter and Esc for the default and cancel buttons, and clicks on a
// frame's bare area, which Qt does not report.
namespace platform {

class InputFilter : public QObject {
public:
    // `widgets` holds a widget per row of the design (nullptr for menus), for as long as the
    // filter is installed; the filter watches every event of the application for the keys and
    // mouse buttons of `top`'s window.
    InputFilter(const FormDesign& design, QWidget* top, const std::vector<QWidget*>& widgets,
                EventSink& sink);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool previewKey(QWidget* widget, QKeyEvent* event);
    void watchFrame(int row, QEvent* event);
    int rowOf(const QObject* widget) const;
    QWidget* control(int row) const { return m_widgets[std::size_t(row)]; }
    void raise(const Event& event) { m_sink.handle(event); }

    const FormDesign& m_design;
    QPointer<QWidget> m_top;
    const std::vector<QWidget*>& m_widgets;
    EventSink& m_sink;
    const QEvent* m_previewedKey = nullptr;
    QPointer<QWidget> m_previewedAt;
    bool m_framePressed = false;
};

} // namespace platform
