#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTextEdit>
#include <QTreeWidget>
#include <QWindow>

#include "GuiFixture.h"
#include "platform/qt/FileBrowser.h"
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

class WindowLayoutTest : public QtPlatformTest {
protected:
    // A cut of the main window: every kind of control, on tab pages, in plain and bordered
    // containers and in a nested tab panel.
    void BuildMain() {
        OpenMain();
        auto tabs = Spec(ControlId::PnlTabs, ControlKind::TabPanel, InWindow(), {0, 25, 618, 550});
        tabs.items = {"Bild", "Stapel", "Einstellungen", "INFO"};
        ASSERT_TRUE(platform->CreateControl(tabs));
        const auto tab0 = OnTab(ControlId::PnlTabs, 0);
        const auto tab1 = OnTab(ControlId::PnlTabs, 1);
        ASSERT_TRUE(platform->CreateControl(Spec(ControlId::FrmSource, ControlKind::Frame, tab0, {20, 20, 275, 250}, "Quelle")));
        ASSERT_TRUE(platform->CreateControl(Spec(ControlId::BtnOpen, ControlKind::Button, tab0, {65, 295, 155, 30}, "Öffnen")));
        ASSERT_TRUE(platform->CreateControl(Spec(ControlId::OptModeText, ControlKind::Option, tab0, {50, 395, 100, 20}, "Text")));
        ASSERT_TRUE(platform->CreateControl(Spec(ControlId::OptModeLogo, ControlKind::Option, tab0, {50, 415, 100, 20}, "Logo")));
        ASSERT_TRUE(platform->CreateControl(Spec(ControlId::BoxSource, ControlKind::Container, tab0, {30, 37, 255, 225})));
        auto image = Spec(ControlId::ImgSource, ControlKind::Image, InControl(ControlId::BoxSource), {0, 0, 255, 225});
        image.image = &picture;
        ASSERT_TRUE(platform->CreateControl(image));
        auto box = Spec(ControlId::BoxText, ControlKind::Container, tab0, {200, 350, 390, 158});
        box.flags = kFlagBorder;
        ASSERT_TRUE(platform->CreateControl(box));
        ASSERT_TRUE(platform->CreateControl(Spec(ControlId::TxtMark, ControlKind::TextField, InControl(ControlId::BoxText), {90, 5, 150, 20})));
        ASSERT_TRUE(platform->CreateControl(Spec(ControlId::LblText, ControlKind::Label, InControl(ControlId::BoxText), {7, 6, 100, 20}, "Text:")));
        auto combo = Spec(ControlId::CmbFrameKind, ControlKind::ComboBox, InControl(ControlId::BoxText), {10, 40, 155, 100});
        combo.items = {"Textur Rahmen-1", "Kreis Rahmen"};
        ASSERT_TRUE(platform->CreateControl(combo));
        auto spin = Spec(ControlId::SpinTexWidth, ControlKind::Spin, InControl(ControlId::BoxText), {270, 40, 45, 20});
        spin.minimum = 16;
        spin.maximum = 128;
        ASSERT_TRUE(platform->CreateControl(spin));
        auto track = Spec(ControlId::TrkLogoAlpha, ControlKind::TrackBar, InControl(ControlId::BoxText), {130, 70, 130, 15});
        track.maximum = 255;
        ASSERT_TRUE(platform->CreateControl(track));
        ASSERT_TRUE(platform->CreateControl(Spec(ControlId::TreeTextures, ControlKind::Tree, InControl(ControlId::BoxText), {0, 90, 155, 60})));
        ASSERT_TRUE(platform->CreateControl(Spec(ControlId::ChkCircleFilled, ControlKind::Checkbox, InControl(ControlId::BoxText), {230, 95, 135, 20}, "Ausgefüllte Kreise")));

        auto list = Spec(ControlId::LstBatch, ControlKind::ReportList, tab1, {10, 10, 180, 350});
        list.items = {"File"};
        ASSERT_TRUE(platform->CreateControl(list));
        ASSERT_TRUE(platform->CreateControl(Spec(ControlId::CmbExplorer, ControlKind::FolderCombo, tab1, {330, 10, 180, 220})));
        auto files = Spec(ControlId::LstExplorer, ControlKind::FileList, tab1, {300, 40, 300, 155});
        files.pattern = "*.jpg;*.Jpeg;*.bmp;*.png";
        ASSERT_TRUE(platform->CreateControl(files));
        auto info = Spec(ControlId::TxtInfo, ControlKind::TextField, OnTab(ControlId::PnlTabs, 3), {157, 200, 300, 100}, "Kopf\r\n\r\nZeile");
        info.flags = kFlagMultiLine | kFlagCentred | kFlagReadOnly;
        ASSERT_TRUE(platform->CreateControl(info));
        auto marks = Spec(ControlId::PnlBatchMark, ControlKind::TabPanel, tab1, {280, 290, 320, 220});
        marks.items = {"Text", "Logo", "Rahmen"};
        ASSERT_TRUE(platform->CreateControl(marks));
        auto batchBox = Spec(ControlId::BoxBatchText, ControlKind::Container, OnTab(ControlId::PnlBatchMark, 0), {5, 5, 305, 185});
        batchBox.flags = kFlagBorder;
        ASSERT_TRUE(platform->CreateControl(batchBox));
        ASSERT_TRUE(platform->CreateControl(Spec(ControlId::TxtBatchMark, ControlKind::TextField, InControl(ControlId::BoxBatchText), {90, 4, 140, 20})));
        auto frameBox = Spec(ControlId::BoxBatchFrame, ControlKind::Container, OnTab(ControlId::PnlBatchMark, 2), {5, 5, 305, 185});
        frameBox.flags = kFlagBorder;
        ASSERT_TRUE(platform->CreateControl(frameBox));
        Settle();
    }

    render::RasterImage picture = Blank(255, 225);
};

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

TEST_F(WindowLayoutTest, ControlsTakeTheirKindRangeAndHeader) {
    BuildMain();
    // The list of a combo opens below it: the combo shows one line but keeps its given height.
    EXPECT_LE(platform->ControlWidget(ControlId::CmbFrameKind)->height(), 22);
    EXPECT_EQ(platform->ControlGeometry(ControlId::CmbFrameKind).height, 100);
    EXPECT_NE(dynamic_cast<TabPanelWidget*>(platform->ControlWidget(ControlId::PnlTabs)), nullptr);
    EXPECT_NE(qobject_cast<QGroupBox*>(platform->ControlWidget(ControlId::FrmSource)), nullptr);
    EXPECT_NE(qobject_cast<QPushButton*>(platform->ControlWidget(ControlId::BtnOpen)), nullptr);
    EXPECT_NE(qobject_cast<QRadioButton*>(platform->ControlWidget(ControlId::OptModeText)), nullptr);
    EXPECT_NE(qobject_cast<QLineEdit*>(platform->ControlWidget(ControlId::TxtMark)), nullptr);
    EXPECT_NE(qobject_cast<QLabel*>(platform->ControlWidget(ControlId::LblText)), nullptr);
    EXPECT_NE(qobject_cast<QComboBox*>(platform->ControlWidget(ControlId::CmbFrameKind)), nullptr);
    EXPECT_NE(qobject_cast<QSpinBox*>(platform->ControlWidget(ControlId::SpinTexWidth)), nullptr);
    EXPECT_NE(qobject_cast<QSlider*>(platform->ControlWidget(ControlId::TrkLogoAlpha)), nullptr);
    EXPECT_NE(qobject_cast<QTreeWidget*>(platform->ControlWidget(ControlId::TreeTextures)), nullptr);
    EXPECT_NE(dynamic_cast<FileListWidget*>(platform->ControlWidget(ControlId::LstExplorer)), nullptr);
    EXPECT_NE(dynamic_cast<FolderComboWidget*>(platform->ControlWidget(ControlId::CmbExplorer)), nullptr);
    auto* info = qobject_cast<QTextEdit*>(platform->ControlWidget(ControlId::TxtInfo));
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(info->isReadOnly());

    // The report list's one column header.
    auto* list = qobject_cast<QTreeWidget*>(platform->ControlWidget(ControlId::LstBatch));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->headerItem()->text(0), QString("File"));
    EXPECT_EQ(list->columnWidth(0), 300);
    // Spin ranges hold.
    auto* spin = qobject_cast<QSpinBox*>(platform->ControlWidget(ControlId::SpinTexWidth));
    EXPECT_EQ(spin->minimum(), 16);
    EXPECT_EQ(spin->maximum(), 128);
    EXPECT_EQ(platform->GetState(ControlId::SpinTexWidth), 16);
}

TEST_F(WindowLayoutTest, ChildrenOfBorderedContainersStartInsideTheBorder) {
    BuildMain();
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
    BuildMain();
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

    EXPECT_EQ(platform->TabCount(ControlId::PnlBatchMark), 3);
    platform->RemoveTab(ControlId::PnlBatchMark, 2);
    EXPECT_EQ(platform->TabCount(ControlId::PnlBatchMark), 2);
    EXPECT_FALSE(platform->ControlExists(ControlId::BoxBatchFrame));
    EXPECT_TRUE(platform->ControlExists(ControlId::TxtBatchMark));
    EXPECT_TRUE(Drain().empty());
}

TEST_F(WindowLayoutTest, ImageControlsTakeTheSizeOfTheirPicture) {
    BuildMain();
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
    WindowSpec progress;
    progress.number = 3;
    progress.title = "Fortschritt";
    progress.clientWidth = 500;
    progress.clientHeight = 250;
    progress.centred = false;
    progress.x = 40;
    progress.y = 50;
    progress.owner = 0;
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
