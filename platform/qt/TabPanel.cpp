#include "platform/qt/TabPanel.h"

#include <QPainter>
#include <QStyleOptionTabWidgetFrame>

namespace velinor::platform::qt {

TabPanelWidget::TabPanelWidget(QWidget* parent) : QWidget(parent), bar_(new QTabBar(this)) {
    bar_->setDrawBase(false);
    bar_->setExpanding(false);
    bar_->setUsesScrollButtons(true);
    connect(bar_, &QTabBar::currentChanged, this, [this](int index) {
        ShowCurrent();
        if (onCurrentChanged) onCurrentChanged(index);
    });
}

QRect TabPanelWidget::PageRect() const {
    return QRect(0, kTabBarHeight, width(), std::max(0, height() - kTabBarHeight));
}

int TabPanelWidget::AddTab(const QString& text) {
    auto* page = new QWidget(this);
    page->setGeometry(PageRect());
    pages_.push_back(page);
    const int index = bar_->addTab(text);
    ShowCurrent();
    return index;
}

void TabPanelWidget::RemoveTab(int index) {
    if (index < 0 || index >= Count()) return;
    QWidget* page = pages_[index];
    pages_.erase(pages_.begin() + index);
    bar_->removeTab(index);
    delete page;
    ShowCurrent();
}

QWidget* TabPanelWidget::Page(int index) const {
    return index >= 0 && index < Count() ? pages_[index] : nullptr;
}

void TabPanelWidget::SetCurrentIndex(int index) {
    if (index >= 0 && index < Count()) bar_->setCurrentIndex(index);
}

void TabPanelWidget::ShowCurrent() {
    const int current = bar_->currentIndex();
    for (int i = 0; i < Count(); ++i) pages_[i]->setVisible(i == current);
}

void TabPanelWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    bar_->setGeometry(0, 0, width(), kTabBarHeight);
    for (QWidget* page : pages_) page->setGeometry(PageRect());
}

void TabPanelWidget::paintEvent(QPaintEvent*) {
    // The frame around the pages; the pages themselves are transparent and lie over it.
    QPainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = PageRect();
    frame.shape = QTabBar::RoundedNorth;
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    frame.tabBarRect = bar_->geometry();
    frame.selectedTabRect = bar_->tabRect(bar_->currentIndex());
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}

}  // namespace velinor::platform::qt
