#include <QSpinBox>
#include <QTextEdit>
#include <QTreeWidget>
#include <QWindow>

#include "GuiFixture.h"
#include "platform/qt/HostWindow.h"
#include "platform/qt/TabPanel.h"

namespace velinor::platform::qt::test {
namespace {

render::RasterImage Blank(int width, int height) {
    render::RasterImage image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<std::size_t>(width) * height, render::kLightGrey);
    return image;
}

using WindowLayoutTest = QtPlatformTest;

TEST_F(WindowLayoutTest, MainWindowHasFixedClientAreaTitleAndNoMaximiseButton) {
    OpenMain();
    Settle();
    QWidget* window = platform->WindowWidget(0);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->size(), QSize(620, 595));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_EQ(window->windowTitle(), QString("Velinor V3.01"));
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(platform->WindowExists(0));
    EXPECT_FALSE(platform->WindowExists(4));
}

TEST_F(WindowLayoutTest, CombosListsAndSpinsKeepTheirHeightHeaderAndRange) {
    BuildProgramLayout();
    // The list of a combo opens below it: the combo shows one line but keeps its given height.
    EXPECT_LE(platform->ControlWidget(ControlId::CmbFrameKind)->height(), 22);
    EXPECT_EQ(platform->ControlGeometry(ControlId::CmbFrameKind).height, 100);
    auto* info = qobject_cast<QTextEdit*>(platform->ControlWidget(ControlId::TxtInfo));
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(info->isReadOnly());

    // The report list's one column header.
    auto* list = qobject_cast<QTreeWidget*>(platform->ControlWidget(ControlId::LstBatch));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->headerItem()->text(0), QString("text 127"));   // the heading comes from the language file
    EXPECT_EQ(list->columnWidth(0), 300);
    // Spin ranges hold.
    auto* spin = qobject_cast<QSpinBox*>(platform->ControlWidget(ControlId::SpinTexWidth));
    EXPECT_EQ(spin->minimum(), 16);
    EXPECT_EQ(spin->maximum(), 128);
    EXPECT_EQ(platform->GetState(ControlId::SpinTexWidth), 16);
}

TEST_F(WindowLayoutTest, ChildrenOfBorderedContainersStartInsideTheBorder) {
    BuildProgramLayout();
    QWidget* window = platform->WindowWidget(0);
    QWidget* box = platform->ControlWidget(ControlId::BoxText);
    QWidget* field = platform->ControlWidget(ControlId::TxtMark);
    const QPoint boxAt = box->mapTo(window, QPoint(0, 0));
    const QPoint fieldAt = field->mapTo(window, QPoint(0, 0));
    const int border = static_cast<QFrame*>(box)->frameWidth();
    EXPECT_GT(border, 0);
    EXPECT_EQ(fieldAt - boxAt, QPoint(90 + border, 5 + border));

    // A plain container adds nothing.
    QWidget* plain = platform->ControlWidget(ControlId::BoxSource);
    QWidget* image = platform->ControlWidget(ControlId::ImgSource);
    EXPECT_EQ(image->mapTo(window, QPoint(0, 0)), plain->mapTo(window, QPoint(0, 0)));
}

TEST_F(WindowLayoutTest, TabPagesHoldTheirControlsAndRemovingATabRemovesThem) {
    BuildProgramLayout();
    auto* tabs = dynamic_cast<TabPanelWidget*>(platform->ControlWidget(ControlId::PnlTabs));
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->Count(), 4);
    EXPECT_TRUE(tabs->Page(1)->isAncestorOf(platform->ControlWidget(ControlId::LstBatch)));
    EXPECT_TRUE(tabs->Page(0)->isAncestorOf(platform->ControlWidget(ControlId::BtnOpen)));
    // Pages start a fixed tab-bar height below the panel, flush left, on every style.
    QWidget* window = platform->WindowWidget(0);
    EXPECT_EQ(platform->ControlWidget(ControlId::BtnOpen)->mapTo(window, QPoint(0, 0)),
              QPoint(65, 25 + TabPanelWidget::kTabBarHeight + 295));
    EXPECT_TRUE(tabs->Page(0)->isVisible());
    EXPECT_FALSE(tabs->Page(1)->isVisible());
    platform->SetState(ControlId::PnlTabs, 1);
    EXPECT_TRUE(tabs->Page(1)->isVisible());
    EXPECT_FALSE(tabs->Page(0)->isVisible());

    EXPECT_EQ(platform->TabCount(ControlId::PnlBatchMark), 2);
    platform->RemoveTab(ControlId::PnlBatchMark, 1);
    EXPECT_EQ(platform->TabCount(ControlId::PnlBatchMark), 1);
    EXPECT_FALSE(platform->ControlExists(ControlId::BoxBatchLogo));
    EXPECT_FALSE(platform->ControlExists(ControlId::TxtBatchLogoFile));
    EXPECT_TRUE(platform->ControlExists(ControlId::TxtBatchMark));
    EXPECT_TRUE(Drain().empty());
}

TEST_F(WindowLayoutTest, ImageControlsTakeTheSizeOfTheirPicture) {
    BuildProgramLayout();
    const render::RasterImage small = Blank(120, 80);
    platform->SetControlImage(ControlId::ImgSource, &small);
    platform->ResizeControl(ControlId::ImgSource, {67, 72, 120, 80});
    const Rect g = platform->ControlGeometry(ControlId::ImgSource);
    EXPECT_EQ(g.x, 67);
    EXPECT_EQ(g.y, 72);
    EXPECT_EQ(g.width, 120);
    EXPECT_EQ(g.height, 80);
    const render::RasterImage wide = Blank(300, 10);
    platform->SetControlImage(ControlId::ImgSource, &wide);
    EXPECT_EQ(platform->ControlGeometry(ControlId::ImgSource).width, 300);
}

TEST_F(WindowLayoutTest, ToolbarAndStatusBarFrameTheTabPanel) {
    OpenMain();
    const render::RasterImage flag = Blank(16, 11);
    platform->CreateToolbar(0, {{ToolbarItem::TbGerman, &flag}, {ToolbarItem::TbEnglish, &flag}});
    platform->CreateStatusBar(0, {620});
    const render::RasterImage icon = Blank(16, 16);
    platform->SetStatusImage(0, &icon);
    platform->SetStatusText(0, "Hinweis");
    Settle();
    EXPECT_EQ(platform->StatusText(0), "Hinweis");
    QWidget* window = platform->WindowWidget(0);
    auto children = window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    bool toolbarAtTop = false;
    bool statusAtBottom = false;
    for (QWidget* child : children) {
        if (child->geometry() == QRect(0, 0, 620, 25)) toolbarAtTop = true;
        if (child->geometry() == QRect(0, 575, 620, 20)) statusAtBottom = true;
    }
    EXPECT_TRUE(toolbarAtTop);
    EXPECT_TRUE(statusAtBottom);
}

TEST_F(WindowLayoutTest, SecondaryWindowsAreOwnedCentredOrPlacedAndCaptionOnlyOnRequest) {
    OpenMain();
    WindowSpec progress = Window(3, "Fortschritt", 500, 250, 0);
    progress.centred = false;
    progress.x = 40;
    progress.y = 50;
    progress.captionOnly = true;
    ASSERT_TRUE(platform->OpenWindow(progress));
    Settle();
    QWidget* window = platform->WindowWidget(3);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->size(), QSize(500, 250));
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowSystemMenuHint));
    EXPECT_EQ(platform->WindowPosition(3).x, 40);
    EXPECT_EQ(platform->WindowPosition(3).y, 50);
    ASSERT_NE(window->windowHandle(), nullptr);
    EXPECT_EQ(window->windowHandle()->transientParent(), platform->WindowWidget(0)->windowHandle());

    platform->CloseWindow(3);
    EXPECT_FALSE(platform->WindowExists(3));
    EXPECT_TRUE(platform->WindowExists(0));
}

}  // namespace
}  // namespace velinor::platform::qt::test
