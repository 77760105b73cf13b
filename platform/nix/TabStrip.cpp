#include "platform/nix/TabStrip.h"

#include "platform/RuntimeError.h"

#include <QEvent>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <QTabBar>

namespace platform {

namespace {

QStyleOptionTabWidgetFrame frameOption(const QWidget* strip, const QTabBar* bar) {
    QStyleOptionTabWidgetFrame option;
    option.initFrom(strip);
    option.lineWidth = strip->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, strip);
    option.shape = QTabBar::RoundedNorth;
    const QSize hint = bar->sizeHint();
    option.tabBarSize = QSize(qMin(hint.width(), strip->width()), hint.height());
    return option;
}

} // namespace

int TabStrip::TabCollection::count() const {
    return static_cast<int>(m_tabs.size());
}

TabStrip::Tab TabStrip::TabCollection::item(int index) const {
    m_strip->checkIndex(index);
    return m_tabs[index - 1];
}

TabStrip::Tab TabStrip::TabCollection::add(const QString& caption, const QString& key,
                                           const QString& toolTipText) {
    Tab tab{count() + 1, caption, key, toolTipText};
    m_tabs.append(tab);
    QTabBar* bar = m_strip->m_bar;
    // QTabBar makes the first tab current and says so; that is not a selection by anyone.
    m_strip->m_adding = true;
    const int at = bar->addTab(caption);
    m_strip->m_adding = false;
    bar->setTabToolTip(at, toolTipText);
    m_strip->layoutBar();
    return tab;
}

TabStrip::TabStrip(QWidget* parent) : QWidget(parent), m_bar(new QTabBar(this)), m_tabs(this) {
    m_bar->setObjectName(QStringLiteral("tabBar"));
    m_bar->setDrawBase(false); // the page frame below draws the base line
    m_bar->setExpanding(false);
    m_bar->setUsesScrollButtons(true);
    m_bar->setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(m_bar);
    setFocusPolicy(Qt::StrongFocus);
    connect(m_bar, &QTabBar::currentChanged, this, [this] {
        if (!m_adding)
            emit Click();
    });
    layoutBar();
}

void TabStrip::checkIndex(int index) const {
    if (index < 1 || index > m_tabs.count())
        throw RuntimeError::of(RuntimeError::IndexOutOfBounds);
}

TabStrip::Tab TabStrip::SelectedItem() const {
    const int current = m_bar->currentIndex();
    if (current < 0)
        throw RuntimeError::of(RuntimeError::ObjectNotSet);
    return m_tabs.item(current + 1);
}

void TabStrip::setSelectedItem(int index) {
    checkIndex(index);
    m_bar->setCurrentIndex(index - 1); // no signal when it is already current
}

QRect TabStrip::pageRect() const {
    QStyleOptionTabWidgetFrame option = frameOption(this, m_bar);
    return style()->subElementRect(QStyle::SE_TabWidgetTabPane, &option, this);
}

void TabStrip::layoutBar() {
    QStyleOptionTabWidgetFrame option = frameOption(this, m_bar);
    m_bar->setGeometry(style()->subElementRect(QStyle::SE_TabWidgetTabBar, &option, this));
    update();
}

void TabStrip::paintEvent(QPaintEvent*) {
    QStyleOptionTabWidgetFrame option = frameOption(this, m_bar);
    option.rect = pageRect();
    option.tabBarRect = m_bar->geometry();
    if (m_bar->currentIndex() >= 0)
        option.selectedTabRect = m_bar->tabRect(m_bar->currentIndex()).translated(m_bar->pos());
    QStylePainter painter(this);
    painter.drawPrimitive(QStyle::PE_FrameTabWidget, option);
}

void TabStrip::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutBar();
}

void TabStrip::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        layoutBar();
}

} // namespace platform
