#pragma once

#include <QString>
#include <QVector>
#include <QWidget>

class QTabBar;

namespace platform {

// A row of tabs over a page frame. It only selects: the pages themselves are ordinary controls
// of the window, laid over the page area and switched by the window when Click is raised.
// Tabs are addressed by 1-based index.
class TabStrip : public QWidget {
    Q_OBJECT
public:
    struct Tab {
        int index = 0; // 1-based
        QString caption;
        QString key;
        QString toolTipText;
    };

    class TabCollection {
    public:
        int count() const;
        // Raises "Index out of bounds" outside 1..count.
        Tab item(int index) const;
        // Appends a tab. The first tab of an empty strip becomes the selected one without a
        // Click: that is the design-time state, not a change.
        Tab add(const QString& caption, const QString& key = {}, const QString& toolTipText = {});

    private:
        friend class TabStrip;
        explicit TabCollection(TabStrip* strip) : m_strip(strip) {}
        TabStrip* m_strip;
        QVector<Tab> m_tabs;
    };

    explicit TabStrip(QWidget* parent = nullptr);

    TabCollection& Tabs() { return m_tabs; }
    const TabCollection& Tabs() const { return m_tabs; }

    // The selected tab; raises a run-time error when there are no tabs.
    Tab SelectedItem() const;
    // Selects a tab by its 1-based index. Click follows only when the selection changes, so
    // selecting the tab that is already selected does nothing at all.
    void setSelectedItem(int index);

    // The bar of tabs inside the strip (for focus and look; the window uses the strip itself).
    QTabBar* tabBar() const { return m_bar; }

    // Where the panels go, in the strip's coordinates.
    QRect pageRect() const;

signals:
    // Raised whenever the selected tab changes: by mouse, keyboard or setSelectedItem.
    void Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void layoutBar();
    void checkIndex(int index) const;

    QTabBar* m_bar;
    TabCollection m_tabs;
    bool m_adding = false;
};

} // namespace platform
