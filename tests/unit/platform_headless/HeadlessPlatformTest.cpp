#include "platform/headless/HeadlessPlatform.h"
#include "tests/support/PlatformSpecs.h"

#include <gtest/gtest.h>

#include <climits>

namespace velinor::platform {
namespace {

using test::Spec;
using test::Window;

// Where a control stands matters to few of these tests: by default a small one in the corner.
ControlSpec Spec(ControlId id, ControlKind kind, ControlParent parent) { return test::Spec(id, kind, parent, {0, 0, 10, 10}); }

ControlParent OnTab(int tab) { return {0, ControlId::PnlTabs, tab}; }
ControlParent In(ControlId container) { return {0, container, -1}; }

// A main window with a two-page tab panel, as the program builds it.
class HeadlessModel : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ui.OpenWindow(Window(0, "main", 620, 595)));
        ControlSpec tabs = Spec(ControlId::PnlTabs, ControlKind::TabPanel, {0, ControlId::None, -1}, {0, 25, 618, 550});
        tabs.items = {"first", "second"};
        ASSERT_TRUE(ui.CreateControl(tabs));
    }

    void Create(ControlSpec spec) { ASSERT_TRUE(ui.CreateControl(spec)); }

    void CreateRanged(ControlId id, ControlKind kind, int minimum, int maximum) {
        ControlSpec spec = Spec(id, kind, OnTab(0));
        spec.minimum = minimum;
        spec.maximum = maximum;
        Create(spec);
    }

    std::vector<Event> Drain() {
        std::vector<Event> events;
        while (ui.HasPendingEvent()) events.push_back(ui.PollEvent());
        return events;
    }

    HeadlessPlatform ui;
};

TEST_F(HeadlessModel, ConsecutiveOptionsFormOneGroupAcrossContainersUntilAnotherKindIsCreated) {
    Create(Spec(ControlId::OptModeText, ControlKind::Option, OnTab(0)));
    Create(Spec(ControlId::OptModeLogo, ControlKind::Option, OnTab(0)));
    Create(Spec(ControlId::BoxText, ControlKind::Container, OnTab(0)));
    Create(Spec(ControlId::OptTextPos1, ControlKind::Option, In(ControlId::BoxText)));
    Create(Spec(ControlId::OptTextPos2, ControlKind::Option, In(ControlId::BoxText)));
    // Created right after, in another parent: still the same group.
    Create(Spec(ControlId::OptSides2, ControlKind::Option, OnTab(1)));

    EXPECT_EQ(ui.OptionGroup(ControlId::OptModeText), ui.OptionGroup(ControlId::OptModeLogo));
    EXPECT_NE(ui.OptionGroup(ControlId::OptModeText), ui.OptionGroup(ControlId::OptTextPos1));
    EXPECT_EQ(ui.OptionGroup(ControlId::OptTextPos1), ui.OptionGroup(ControlId::OptSides2));

    ui.UserClick(ControlId::OptModeText);
    ui.UserClick(ControlId::OptTextPos1);
    ui.UserClick(ControlId::OptSides2);
    EXPECT_EQ(ui.GetState(ControlId::OptModeText), 1) << "another group's click leaves it alone";
    EXPECT_EQ(ui.GetState(ControlId::OptTextPos1), 0);
    EXPECT_EQ(ui.GetState(ControlId::OptSides2), 1);

    // The program checking an option keeps the group exclusive too, without raising events.
    Drain();
    ui.SetState(ControlId::OptModeLogo, 1);
    EXPECT_EQ(ui.GetState(ControlId::OptModeText), 0);
    EXPECT_EQ(ui.GetState(ControlId::OptModeLogo), 1);
    EXPECT_FALSE(ui.HasPendingEvent());
}

TEST_F(HeadlessModel, UserValuesAreClampedToWhatTheControlOffers) {
    CreateRanged(ControlId::SpinTexWidth, ControlKind::Spin, 16, 128);
    CreateRanged(ControlId::TrkQuality, ControlKind::TrackBar, 0, 10);
    ControlSpec combo = Spec(ControlId::CmbFrameKind, ControlKind::ComboBox, OnTab(0));
    combo.items = {"texture", "circles"};
    Create(combo);
    Create(Spec(ControlId::ChkThumb, ControlKind::Checkbox, OnTab(1)));

    EXPECT_EQ(ui.GetState(ControlId::SpinTexWidth), 16) << "ranged controls start at their minimum";
    EXPECT_EQ(ui.GetState(ControlId::CmbFrameKind), -1);

    ui.UserSet(ControlId::SpinTexWidth, 500);
    EXPECT_EQ(ui.GetState(ControlId::SpinTexWidth), 128);
    ui.UserSet(ControlId::TrkQuality, -3);
    EXPECT_EQ(ui.GetState(ControlId::TrkQuality), 0);
    ui.UserSet(ControlId::CmbFrameKind, 7);
    EXPECT_EQ(ui.GetState(ControlId::CmbFrameKind), 1);
    EXPECT_EQ(ui.GetText(ControlId::CmbFrameKind), "circles");
    ui.UserSet(ControlId::PnlTabs, 1);
    EXPECT_EQ(ui.GetState(ControlId::PnlTabs), 1);
    ui.UserClick(ControlId::ChkThumb);
    ui.UserClick(ControlId::ChkThumb);
    ui.UserClick(ControlId::ChkThumb);
    EXPECT_EQ(ui.GetState(ControlId::ChkThumb), 1);

    // A spin's text is the program's to keep in step; the arrows change only the value.
    ui.SetText(ControlId::SpinTexWidth, "16");
    ui.UserSet(ControlId::SpinTexWidth, 20);
    EXPECT_EQ(ui.GetText(ControlId::SpinTexWidth), "16");

    auto events = Drain();
    ASSERT_EQ(events.size(), 8u);
    EXPECT_EQ(events[0].code, kEventControl);
    EXPECT_EQ(events[0].control, ControlId::SpinTexWidth);
    EXPECT_EQ(events[0].kind, kKindChange);
    EXPECT_EQ(events[4].control, ControlId::ChkThumb);
    EXPECT_EQ(events[4].kind, kKindLeftClick);

    // The same changes made by the program raise nothing.
    ui.SetState(ControlId::SpinTexWidth, 2);
    ui.SetState(ControlId::PnlTabs, 0);
    ui.SetText(ControlId::TrkQuality, "x");
    ui.SetState(ControlId::PnlTabs, 5);
    EXPECT_EQ(ui.GetState(ControlId::SpinTexWidth), 16);
    EXPECT_EQ(ui.GetState(ControlId::PnlTabs), 0) << "a page that does not exist is not shown";
    EXPECT_FALSE(ui.HasPendingEvent());
}

TEST_F(HeadlessModel, ScreenRectanglesFollowWindowTabPageAndContainers) {
    EXPECT_EQ(ui.WindowPosition(0).x, (1024 - 620) / 2);
    EXPECT_EQ(ui.WindowPosition(0).y, (768 - 595) / 2);
    Create(Spec(ControlId::BoxSource, ControlKind::Container, OnTab(0), {30, 37, 255, 225}));
    Create(Spec(ControlId::ImgSource, ControlKind::Image, In(ControlId::BoxSource), {0, 0, 255, 225}));
    Create(Spec(ControlId::BtnOpen, ControlKind::Button, OnTab(1), {65, 295, 155, 30}));

    Point w = ui.WindowPosition(0);
    Rect img = ui.ControlScreenRect(ControlId::ImgSource);
    EXPECT_EQ(img.x, w.x + 0 + 30 + 0);
    EXPECT_EQ(img.y, w.y + 25 + HeadlessPlatform::kTabBarHeight + 37);
    EXPECT_EQ(img.width, 255);
    Rect button = ui.ControlScreenRect(ControlId::BtnOpen);
    EXPECT_EQ(button.y, w.y + 25 + HeadlessPlatform::kTabBarHeight + 295);

    ui.ResizeControl(ControlId::BoxSource, {40, 37, 100, 100});
    EXPECT_EQ(ui.ControlScreenRect(ControlId::ImgSource).x, w.x + 40) << "children move with their container";
    EXPECT_EQ(ui.ControlGeometry(ControlId::ImgSource).x, 0) << "geometry stays relative to the parent";

    WindowSpec placed = Window(3, "", 500, 250);
    placed.centred = false;
    placed.x = 11;
    placed.y = 22;
    ASSERT_TRUE(ui.OpenWindow(placed));
    Create(Spec(ControlId::BtnBatchCancel, ControlKind::Button, {3, ControlId::None, -1}, {200, 220, 100, 20}));
    Rect cancel = ui.ControlScreenRect(ControlId::BtnBatchCancel);
    EXPECT_EQ(cancel.x, 211);
    EXPECT_EQ(cancel.y, 242);
}

TEST_F(HeadlessModel, ListEntriesKeepCurrentEntryAndSelectionBitsInStep) {
    ControlSpec list = Spec(ControlId::LstBatch, ControlKind::ReportList, OnTab(1));
    list.items = {"File"};
    Create(list);
    EXPECT_EQ(ui.ItemCount(ControlId::LstBatch), 0) << "the column header is not an entry";
    for (const char* name : {"a", "b", "c", "d"}) ui.AddItem(ControlId::LstBatch, name);
    EXPECT_EQ(ui.AddItem(ControlId::LstBatch, "first", 0), 0);

    ui.UserSelect(ControlId::LstBatch, {3, 1}, false);
    EXPECT_EQ(ui.GetState(ControlId::LstBatch), 3) << "the first entry named becomes current";
    EXPECT_EQ(ui.ItemState(ControlId::LstBatch, 1) & kItemSelected, kItemSelected);
    EXPECT_EQ(ui.ItemState(ControlId::LstBatch, 2) & kItemSelected, 0);
    ui.AddItem(ControlId::LstBatch, "new", 3);   // in the current entry's place
    EXPECT_EQ(ui.GetState(ControlId::LstBatch), 4) << "the current entry moves down with the list";
    ui.RemoveItem(ControlId::LstBatch, 3);

    ui.RemoveItem(ControlId::LstBatch, 0);
    EXPECT_EQ(ui.GetState(ControlId::LstBatch), 2) << "the current entry moves up with the list";
    EXPECT_EQ(ui.ItemText(ControlId::LstBatch, 2), "c");
    ui.RemoveItem(ControlId::LstBatch, 2);
    EXPECT_EQ(ui.GetState(ControlId::LstBatch), -1) << "removing the current entry leaves none";

    ui.SetState(ControlId::LstBatch, 1);
    EXPECT_EQ(ui.ItemState(ControlId::LstBatch, 1), kItemSelected);
    EXPECT_EQ(ui.ItemState(ControlId::LstBatch, 0), 0) << "a program's choice selects only that entry";
    ui.SelectAllItems(ControlId::LstBatch);
    ASSERT_GE(ui.ItemCount(ControlId::LstBatch), 2);
    for (int i = 0; i < ui.ItemCount(ControlId::LstBatch); ++i) {
        EXPECT_EQ(ui.ItemState(ControlId::LstBatch, i), kItemSelected);
    }
    ui.ClearItems(ControlId::LstBatch);
    EXPECT_EQ(ui.ItemCount(ControlId::LstBatch), 0);
    EXPECT_EQ(ui.GetState(ControlId::LstBatch), -1);
    EXPECT_EQ(ui.ItemText(ControlId::LstBatch, 0), "") << "reading past the end is harmless";
}

TEST_F(HeadlessModel, KeptTextTravelsWithItsEntry) {
    ControlSpec list = Spec(ControlId::LstBatch, ControlKind::ReportList, OnTab(1));
    list.items = {"File"};
    Create(list);
    for (const char* name : {"a.jpg", "b.jpg"}) ui.AddItem(ControlId::LstBatch, name);
    ui.SetItemData(ControlId::LstBatch, 0, "/x/a.jpg");
    ui.SetItemData(ControlId::LstBatch, 1, "/y/b.jpg");
    ui.AddItem(ControlId::LstBatch, "new.jpg", 0);
    EXPECT_EQ(ui.ItemData(ControlId::LstBatch, 0), "") << "a new entry keeps nothing";
    EXPECT_EQ(ui.ItemData(ControlId::LstBatch, 2), "/y/b.jpg");
    ui.RemoveItem(ControlId::LstBatch, 1);
    ui.SetItemText(ControlId::LstBatch, 1, "renamed.jpg");
    EXPECT_EQ(ui.ItemData(ControlId::LstBatch, 1), "/y/b.jpg");
    EXPECT_EQ(ui.ItemData(ControlId::LstBatch, 5), "") << "reading past the end is harmless";
}

TEST_F(HeadlessModel, TreeChildrenFollowTheirParentAndGoWithIt) {
    Create(Spec(ControlId::TreeTextures, ControlKind::Tree, OnTab(0)));
    int wood = ui.AddTreeItem(ControlId::TreeTextures, -1, "Holz16x16", nullptr);
    int water = ui.AddTreeItem(ControlId::TreeTextures, -1, "Wasser", nullptr);
    int plank = ui.AddTreeItem(ControlId::TreeTextures, wood, "plank.jpg", nullptr);
    EXPECT_EQ(plank, 1) << "a child is listed right under its parent";
    EXPECT_EQ(ui.ItemText(ControlId::TreeTextures, 2), "Wasser");
    water = 2;
    int wave = ui.AddTreeItem(ControlId::TreeTextures, water, "wave.bmp", nullptr);
    EXPECT_EQ(ui.TreeItemParent(ControlId::TreeTextures, wave), water);
    EXPECT_EQ(ui.TreeItemParent(ControlId::TreeTextures, plank), wood);
    EXPECT_EQ(ui.TreeItemParent(ControlId::TreeTextures, wood), -1);

    ui.UserSet(ControlId::TreeTextures, wave);
    EXPECT_EQ(ui.GetText(ControlId::TreeTextures), "wave.bmp");
    ui.RemoveItem(ControlId::TreeTextures, wood);
    ASSERT_EQ(ui.ItemCount(ControlId::TreeTextures), 2);
    EXPECT_EQ(ui.ItemText(ControlId::TreeTextures, 0), "Wasser");
    EXPECT_EQ(ui.TreeItemParent(ControlId::TreeTextures, 1), 0);
    EXPECT_EQ(ui.GetState(ControlId::TreeTextures), 1) << "the selection follows its entry";
}

TEST_F(HeadlessModel, RemovingATabPageRemovesItsControlsAndMovesLaterPagesUp) {
    ControlSpec batch = Spec(ControlId::PnlBatchMark, ControlKind::TabPanel, OnTab(1), {280, 290, 320, 220});
    Create(batch);
    for (const char* name : {"text", "logo", "frame"}) ui.AddTab(ControlId::PnlBatchMark, name);
    Create(Spec(ControlId::BoxBatchLogo, ControlKind::Container, {0, ControlId::PnlBatchMark, 1}));
    Create(Spec(ControlId::BoxBatchFrame, ControlKind::Container, {0, ControlId::PnlBatchMark, 2}));
    Create(Spec(ControlId::TxtBatchLogoFile, ControlKind::TextField, In(ControlId::BoxBatchLogo)));
    ui.SetState(ControlId::PnlBatchMark, 2);

    ui.RemoveTab(ControlId::PnlBatchMark, 1);
    EXPECT_EQ(ui.TabCount(ControlId::PnlBatchMark), 2);
    EXPECT_EQ(ui.ItemText(ControlId::PnlBatchMark, 1), "frame");
    EXPECT_FALSE(ui.ControlExists(ControlId::BoxBatchLogo));
    EXPECT_FALSE(ui.ControlExists(ControlId::TxtBatchLogoFile)) << "nested controls go with the page";
    EXPECT_TRUE(ui.ControlExists(ControlId::BoxBatchFrame));
    EXPECT_EQ(ui.GetState(ControlId::PnlBatchMark), 1);
    ui.RemoveTab(ControlId::PnlBatchMark, 1);
    EXPECT_FALSE(ui.ControlExists(ControlId::BoxBatchFrame)) << "the frame page had moved to index 1";
}

TEST_F(HeadlessModel, UserActionsQueueTheEventsTheyRaise) {
    Create(Spec(ControlId::TxtMark, ControlKind::TextField, OnTab(0)));
    ControlSpec readOnly = Spec(ControlId::TxtLogoFile, ControlKind::TextField, OnTab(0));
    readOnly.flags = kFlagReadOnly;
    Create(readOnly);
    ui.CreateToolbar(0, {{ToolbarItem::TbGerman, nullptr}, {ToolbarItem::TbEnglish, nullptr}});

    ui.UserType(ControlId::TxtMark, "hello");
    ui.UserType(ControlId::TxtLogoFile, "typed");
    ui.UserKey({Key::Control, Key::A});
    EXPECT_TRUE(ui.KeyDown(Key::Control));
    EXPECT_TRUE(ui.KeyDown(Key::A));
    ui.UserPointer(0, {5, 7});
    EXPECT_FALSE(ui.KeyDown(Key::Control)) << "keys are up again after the key press";
    ui.UserToolbar(ToolbarItem::TbEnglish);
    ui.UserDrop({"/tmp/a.jpg"});   // refused: the window does not accept drops yet
    ui.AcceptDrops(0, true);
    ui.UserDrop({"/tmp/a.jpg", "/tmp/b.jpg"});
    ui.UserClose(0);

    EXPECT_EQ(ui.GetText(ControlId::TxtMark), "hello");
    EXPECT_EQ(ui.GetText(ControlId::TxtLogoFile), "") << "a read-only field takes no typing";
    EXPECT_EQ(ui.FocusedControl(), ControlId::TxtMark);
    EXPECT_EQ(ui.PointerPosition().x, ui.WindowPosition(0).x + 5);
    EXPECT_EQ(ui.PointerPosition().y, ui.WindowPosition(0).y + 7);
    // Coordinates at the ends of int neither wrap round nor overflow (the window is not at 0, 0).
    ASSERT_NE(ui.WindowPosition(0).x, 0);
    ui.UserPointer(0, {INT_MAX, INT_MIN});
    EXPECT_GT(ui.PointerPosition().x, 1 << 20);
    EXPECT_LT(ui.PointerPosition().y, -(1 << 20));
    EXPECT_FALSE(ui.ToolbarPressed(ToolbarItem::TbEnglish)) << "the program sets pressed states";

    auto events = Drain();
    ASSERT_EQ(events.size(), 7u);
    EXPECT_EQ(events[0].code, kEventControl);
    EXPECT_EQ(events[0].control, ControlId::TxtMark);
    EXPECT_EQ(events[1].code, kEventKey);
    EXPECT_EQ(events[2].code, kEventPointerMove);
    EXPECT_EQ(events[3].code, kEventToolbar);
    EXPECT_EQ(events[3].toolbarItem, ToolbarItem::TbEnglish);
    EXPECT_EQ(events[4].code, kEventDrop);
    EXPECT_EQ(events[4].droppedFiles.size(), 2u);
    EXPECT_EQ(events[5].code, kEventClose);

    // Nobody left to act: a waiting program is asked to close rather than left hanging.
    Event last = ui.WaitEvent();
    EXPECT_EQ(last.code, kEventClose);
    EXPECT_EQ(last.window, 0);
    EXPECT_EQ(ui.PollEvent().code, kEventNone);
}

TEST_F(HeadlessModel, ClosingAWindowTakesItsControlsAndReopeningStartsAfresh) {
    WindowSpec quality = Window(4, "", 250, 80, 0);
    ASSERT_TRUE(ui.OpenWindow(quality));
    ControlSpec track = Spec(ControlId::TrkQuality, ControlKind::TrackBar, {4, ControlId::None, -1});
    track.maximum = 10;
    Create(track);
    ui.UserSet(ControlId::TrkQuality, 8);
    ui.CloseWindow(4);
    EXPECT_FALSE(ui.WindowExists(4));
    EXPECT_FALSE(ui.ControlExists(ControlId::TrkQuality));
    EXPECT_TRUE(ui.ControlExists(ControlId::PnlTabs));

    quality.owner = 9;
    EXPECT_FALSE(ui.OpenWindow(quality)) << "an owner that does not exist";
    EXPECT_FALSE(ui.CreateControl(track)) << "a control needs its window";
}

TEST_F(HeadlessModel, ScreenPixelsComeFromTheTopmostImageShown) {
    render::RasterImage picture;
    picture.width = 2;
    picture.height = 2;
    picture.pixels = {0x0000FF, 0x00FF00, 0xFF0000, 0x123456};
    ControlSpec image = Spec(ControlId::ImgSource, ControlKind::Image, OnTab(0), {10, 10, 50, 50});
    image.image = &picture;
    Create(image);
    Rect rect = ui.ControlScreenRect(ControlId::ImgSource);
    EXPECT_EQ(ui.ScreenPixel({rect.x + 1, rect.y + 1}), 0x123456);
    EXPECT_EQ(ui.ScreenPixel({rect.x + 3, rect.y}), -1) << "beyond the picture inside the control";

    ASSERT_TRUE(ui.OpenWindow(Window(5, "", 300, 300)));
    render::RasterImage cover;
    cover.width = 1024;
    cover.height = 768;
    cover.pixels.assign(1024 * 768, 0xABCDEF);
    ControlSpec over = Spec(ControlId::ImgPicker, ControlKind::Image, {5, ControlId::None, -1}, {-400, -400, 1024, 768});
    Create(over);
    ui.SetControlImage(ControlId::ImgPicker, &cover);
    EXPECT_EQ(ui.ScreenPixel({rect.x + 1, rect.y + 1}), 0xABCDEF) << "the later window lies on top";
    ui.SetControlImage(ControlId::ImgPicker, nullptr);
    EXPECT_EQ(ui.ScreenPixel({rect.x + 1, rect.y + 1}), 0x123456);
    ui.ShowControl(ControlId::PnlTabs, false);
    EXPECT_EQ(ui.ScreenPixel({rect.x + 1, rect.y + 1}), -1) << "a hidden container hides its pictures";
}

}  // namespace
}  // namespace velinor::platform
