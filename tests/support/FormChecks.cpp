#include "tests/support/FormChecks.h"

#include "platform/nix/LineControl.h"
#include "platform/nix/QtWindow.h"
#include "platform/nix/TabStrip.h"
#include "platform/nix/Twips.h"
#include "tests/support/LayoutCheck.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>

namespace testsupport {

namespace {

namespace twips = platform::twips;

Pixels pixels(const QRect& r) {
    return {r.x(), r.y(), r.width(), r.height()};
}

Extent extent(const QSize& size) {
    return {size.width(), size.height()};
}

Point point(const QPoint& p) {
    return {p.x(), p.y()};
}

// The room a button's or check box's style leaves its caption.
template <class Button> Caption buttonCaption(Button* button, QStyle::SubElement contents) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const QRect room = button->style()->subElementRect(contents, &option, button);
    return {extent(button->fontMetrics().size(Qt::TextShowMnemonic, button->text())), pixels(room)};
}

class QtProbe : public LayoutProbe {
public:
    explicit QtProbe(platform::Form& form)
        : m_form(form),
          m_client(platform::qt::widget(form)->findChild<QWidget*>(QStringLiteral("client"))) {}

    bool ready() const { return m_client; }

    int pixelsX(int value) const override { return twips::toPixels(value); }
    int pixelsY(int value) const override { return twips::toPixels(value); }
    Extent clientSize() const override { return extent(m_client->size()); }
    // From the primary screen's corner, as windows are placed.
    std::optional<Point> clientOnScreen() const override {
        return point(m_client->mapToGlobal(QPoint(0, 0)) -
                     QGuiApplication::primaryScreen()->geometry().topLeft());
    }
    const void* object(int row) const override { return widget(row); }
    const void* clientObject() const override { return m_client; }
    const void* parentObject(int row) const override { return widget(row)->parentWidget(); }
    Pixels place(int row) const override { return pixels(widget(row)->geometry()); }
    Pixels room(int container) const override {
        return pixels((container < 0 ? m_client : widget(container))->contentsRect());
    }
    std::optional<std::pair<Point, Point>> lineEnds(int row) const override {
        auto* line = qobject_cast<platform::LineControl*>(widget(row));
        if (!line)
            return {};
        return std::pair{point(line->from()), point(line->to())};
    }
    bool focusable(int row) const override { return widget(row)->focusPolicy() != Qt::NoFocus; }
    Pixels focusArea(int row) const override {
        QWidget* control = widget(row);
        QWidget* target = control->focusProxy() ? control->focusProxy() : control;
        return pixels(QRect(target->mapTo(m_client, QPoint(0, 0)), target->size()));
    }
    std::optional<Caption> caption(int row) const override;

private:
    QWidget* widget(int row) const {
        const platform::ControlDesign& design = m_form.design().controls[std::size_t(row)];
        return platform::qt::widget(platform::Control(m_form, design.name, design.index));
    }

    platform::Form& m_form;
    QWidget* m_client;
};

std::optional<Caption> QtProbe::caption(int row) const {
    QWidget* control = widget(row);
    const QFontMetrics metrics = control->fontMetrics();
    if (auto* button = qobject_cast<QPushButton*>(control))
        return buttonCaption(button, QStyle::SE_PushButtonContents);
    if (auto* check = qobject_cast<QCheckBox*>(control))
        return buttonCaption(check, QStyle::SE_CheckBoxContents);
    if (auto* label = qobject_cast<QLabel*>(control)) {
        if (label->text().isEmpty())
            return {};
        const QRect room = label->contentsRect();
        if (!label->wordWrap())
            return Caption{extent(metrics.size(Qt::TextSingleLine, label->text())), pixels(room)};
        const QRect needed =
            metrics.boundingRect(room, int(label->alignment()) | Qt::TextWordWrap, label->text());
        return Caption{extent(needed.size()), pixels(room)};
    }
    // A frame's title along its top edge; a tab strip's tabs with room for a page beneath.
    if (auto* group = qobject_cast<QGroupBox*>(control))
        return Caption{{metrics.size(Qt::TextShowMnemonic, group->title()).width(), 0},
                       pixels(group->rect())};
    if (auto* strip = qobject_cast<platform::TabStrip*>(control)) {
        const QSize bar = strip->tabBar()->sizeHint();
        return Caption{{bar.width(), bar.height() + 1}, pixels(strip->rect())};
    }
    return {};
}

} // namespace

QStringList layoutFaults(platform::Form& form) {
    const QtProbe probe(form);
    if (!probe.ready())
        return {QStringLiteral("no client area")};
    QStringList faults;
    for (const std::string& fault : testsupport::layoutFaults(form, probe))
        faults << QString::fromStdString(fault);
    return faults;
}

} // namespace testsupport
