#include "tests/support/FormChecks.h"

#include "platform/FormRules.h"
#include "platform/nix/LineControl.h"
#include "platform/nix/QtWindow.h"
#include "platform/nix/TabStrip.h"
#include "platform/nix/Twips.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>

#include <cstring>
#include <functional>
#include <vector>

namespace testsupport {

namespace {

using platform::ControlDesign;
using platform::ControlKind;
namespace twips = platform::twips;

QString nameOf(const ControlDesign& design) {
    const QString name = QString::fromUtf8(design.name);
    return design.index < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(design.index);
}

QString show(const QRect& r) {
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QString show(const QPoint& p) {
    return QStringLiteral("%1,%2").arg(p.x()).arg(p.y());
}

const ControlDesign* containerOf(const platform::FormDesign& form, const ControlDesign& design) {
    if (!design.container.name)
        return nullptr;
    const int row = platform::findRow(form, design.container.name, design.container.index);
    return row < 0 ? nullptr : &form.controls[std::size_t(row)];
}

// Placed outside its container by the design (a page not shown), or inside such a control.
bool parked(const platform::FormDesign& form, const ControlDesign& design) {
    if (design.kind != ControlKind::Line && design.rect.left < 0)
        return true;
    const ControlDesign* container = containerOf(form, design);
    return container && parked(form, *container);
}

bool fits(const QSize& needed, const QRect& box) {
    return needed.width() <= box.width() && needed.height() <= box.height();
}

// Whether the caption is shown whole inside the control's box; empty when it is.
QString captionFault(QWidget* widget, const ControlDesign& design) {
    const QFontMetrics metrics = widget->fontMetrics();
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect box =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        const QSize needed = metrics.size(Qt::TextShowMnemonic, button->text());
        if (!fits(needed, box))
            return QStringLiteral("caption needs %1x%2, has %3")
                .arg(needed.width())
                .arg(needed.height())
                .arg(show(box));
    } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
        QStyleOptionButton option;
        option.initFrom(check);
        option.text = check->text();
        const QRect box =
            check->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, check);
        const QSize needed = metrics.size(Qt::TextShowMnemonic, check->text());
        if (!fits(needed, box))
            return QStringLiteral("caption needs %1x%2, has %3")
                .arg(needed.width())
                .arg(needed.height())
                .arg(show(box));
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        if (label->text().isEmpty())
            return {};
        if (design.autoSize) {
            const QSize extent = metrics.size(Qt::TextSingleLine, label->text());
            if (label->size() != extent)
                return QStringLiteral("%1x%2, its caption %3x%4")
                    .arg(label->width())
                    .arg(label->height())
                    .arg(extent.width())
                    .arg(extent.height());
            return {};
        }
        const QRect box = label->contentsRect();
        const QRect needed =
            metrics.boundingRect(box, int(label->alignment()) | Qt::TextWordWrap, label->text());
        if (!fits(needed.size(), box))
            return QStringLiteral("wrapped caption needs %1x%2, has %3")
                .arg(needed.width())
                .arg(needed.height())
                .arg(show(box));
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        if (metrics.size(Qt::TextShowMnemonic, group->title()).width() > group->width())
            return QStringLiteral("title wider than the frame");
    } else if (auto* strip = qobject_cast<platform::TabStrip*>(widget)) {
        const QSize bar = strip->tabBar()->sizeHint();
        if (bar.width() > strip->width() || bar.height() >= strip->height())
            return QStringLiteral("tabs need %1x%2").arg(bar.width()).arg(bar.height());
    }
    return {};
}

} // namespace

QStringList layoutFaults(platform::Form& form) {
    const platform::FormDesign& design = form.design();
    QStringList faults;
    QWidget* top = platform::qt::widget(form);
    QWidget* client = top ? top->findChild<QWidget*>(QStringLiteral("client")) : nullptr;
    if (!client)
        return {QStringLiteral("no client area")};
    const QRect clientPixels = twips::toPixels(0, 0, design.clientWidth, design.clientHeight);
    if (client->size() != clientPixels.size())
        faults << QStringLiteral("client area %1, table %2")
                      .arg(show(client->rect()), show(clientPixels));
    if (design.position) {
        const QPoint expected = twips::toPixels(QPoint(design.position->x, design.position->y));
        if (client->mapToGlobal(QPoint(0, 0)) != expected)
            faults << QStringLiteral("client area on the screen at %1, table %2")
                          .arg(show(client->mapToGlobal(QPoint(0, 0))), show(expected));
    }

    struct Focusable {
        QString name;
        QRect area; // in the top-level widget's coordinates
    };
    QList<Focusable> focusable;
    for (const ControlDesign& row : design.controls) {
        if (row.kind == ControlKind::Menu || row.kind == ControlKind::MenuItem)
            continue;
        const QString name = nameOf(row);
        const auto fault = [&](const QString& text) {
            faults << name + QStringLiteral(": ") + text;
        };
        QWidget* widget = platform::qt::widget(platform::Control(form, row.name, row.index));
        if (!widget) {
            fault(QStringLiteral("no widget"));
            continue;
        }
        QWidget* container = client;
        if (const ControlDesign* outer = containerOf(design, row))
            container = platform::qt::widget(platform::Control(form, outer->name, outer->index));
        if (widget->parentWidget() != container) {
            fault(QStringLiteral("not inside its container"));
            continue;
        }

        const QRect box =
            twips::toPixels(row.rect.left, row.rect.top, row.rect.width, row.rect.height);
        if (auto* line = qobject_cast<platform::LineControl*>(widget)) {
            const QPoint from = twips::toPixels(QPoint(row.from.x, row.from.y));
            const QPoint to = twips::toPixels(QPoint(row.to.x, row.to.y));
            if (line->from() != from || line->to() != to)
                fault(QStringLiteral("line %1 to %2, table %3 to %4")
                          .arg(show(line->from()), show(line->to()), show(from), show(to)));
            if (!container->rect().contains(from) || !container->rect().contains(to))
                fault(QStringLiteral("line leaves its container"));
            continue;
        }
        if (row.kind == ControlKind::Label && row.autoSize) {
            // Grown from its design box: the top stays, and the edge the text is aligned to.
            const bool keepsEdge =
                row.alignRight ? widget->geometry().right() == box.right() : widget->x() == box.x();
            if (widget->y() != box.y() || !keepsEdge)
                fault(QStringLiteral("at %1, its design box %2")
                          .arg(show(widget->geometry()), show(box)));
        } else if (widget->geometry() != box) {
            fault(QStringLiteral("at %1, table %2").arg(show(widget->geometry()), show(box)));
        }
        if (parked(design, row))
            continue;

        if (!container->contentsRect().contains(widget->geometry()))
            fault(QStringLiteral("%1 outside its container's %2")
                      .arg(show(widget->geometry()), show(container->contentsRect())));
        if (const QString caption = captionFault(widget, row); !caption.isEmpty())
            fault(caption);
        if (widget->focusPolicy() != Qt::NoFocus && !row.disabled) {
            QWidget* target = widget->focusProxy() ? widget->focusProxy() : widget;
            focusable.append({name, QRect(target->mapTo(top, QPoint(0, 0)), target->size())});
        }
    }
    for (qsizetype i = 0; i < focusable.size(); ++i)
        for (qsizetype j = i + 1; j < focusable.size(); ++j)
            if (focusable[i].area.intersects(focusable[j].area))
                faults << QStringLiteral("%1 and %2 overlap")
                              .arg(focusable[i].name, focusable[j].name);

    // Windows walks the Tab order down the stacking of each container in turn: that walk must
    // meet the controls in the window's one Tab order, or the two systems would differ.
    std::vector<int> walked;
    const std::function<void(int)> walk = [&](int container) {
        for (int row : platform::stackingOrder(design, container)) {
            if (platform::takesFocus(design.controls[std::size_t(row)]))
                walked.push_back(row);
            walk(row);
        }
    };
    walk(-1);
    if (walked != platform::tabOrder(design))
        faults << QStringLiteral("the Tab order across containers differs from their stacking");
    return faults;
}

} // namespace testsupport
