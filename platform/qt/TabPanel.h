#pragma once

#include <functional>
#include <vector>

#include <QTabBar>
#include <QWidget>

namespace velinor::platform::qt {

// Tabs with one page each. Pages sit at a fixed place, kTabBarHeight below the panel's top
// edge and flush with its left edge, whatever the widget style, so control positions on a page
// are the same on every desktop.
class TabPanelWidget : public QWidget {
public:
    static constexpr int kTabBarHeight = 22;

    explicit TabPanelWidget(QWidget* parent);

    int AddTab(const QString& text);       // returns the new page's index
    void RemoveTab(int index);             // deletes the page and what is on it
    int Count() const { return static_cast<int>(pages_.size()); }
    QWidget* Page(int index) const;
    int CurrentIndex() const { return bar_->currentIndex(); }
    void SetCurrentIndex(int index);
    QString TabText(int index) const { return bar_->tabText(index); }
    void SetTabText(int index, const QString& text) { bar_->setTabText(index, text); }
    QTabBar* Bar() const { return bar_; }

    // Called when the shown page changes.
    std::function<void(int)> onCurrentChanged;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void ShowCurrent();
    QRect PageRect() const;

    QTabBar* bar_;
    std::vector<QWidget*> pages_;
};

}  // namespace velinor::platform::qt
