#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include "GuiFixture.h"

namespace velinor::platform::qt::test {
namespace {

class EventTest : public QtPlatformTest {
protected:
    void SetUp() override {
        QtPlatformTest::SetUp();
        OpenMain();
        auto tabs = Spec(ControlId::PnlTabs, ControlKind::TabPanel, InWindow(), {0, 25, 618, 550});
        tabs.items = {"A", "B", "C", "D"};
        Create(tabs);
        const auto page = OnTab(ControlId::PnlTabs, 0);
        Create(Spec(ControlId::OptModeText, ControlKind::Option, page, {50, 395, 100, 20}, "Text"));
        Create(Spec(ControlId::OptModeLogo, ControlKind::Option, page, {50, 415, 100, 20}, "Logo"));
        Create(Spec(ControlId::OptModeFrame, ControlKind::Option, page, {50, 435, 100, 20}, "Rahmen"));
        Create(Spec(ControlId::ChkCircleFilled, ControlKind::Checkbox, page, {230, 35, 135, 20}, "Gefüllt"));
        Create(Spec(ControlId::OptSides2, ControlKind::Option, page, {230, 12, 65, 20}, "2 Seiten"));
        Create(Spec(ControlId::OptSides4, ControlKind::Option, page, {300, 12, 65, 20}, "4 Seiten"));
        Create(Spec(ControlId::BtnOpen, ControlKind::Button, page, {65, 295, 155, 30}, "Öffnen"));
        Create(Spec(ControlId::TxtMark, ControlKind::TextField, page, {90, 5, 150, 20}));
        auto spin = Spec(ControlId::SpinCircleGap, ControlKind::Spin, page, {137, 33, 45, 20});
        spin.minimum = 1;
        spin.maximum = 200;
        Create(spin);
        auto track = Spec(ControlId::TrkLogoAlpha, ControlKind::TrackBar, page, {130, 40, 130, 15});
        track.maximum = 255;
        Create(track);
        auto combo = Spec(ControlId::CmbFrameKind, ControlKind::ComboBox, page, {10, 10, 155, 100});
        combo.items = {"Textur Rahmen-1", "Kreis Rahmen"};
        Create(combo);
        auto list = Spec(ControlId::LstBatch, ControlKind::ReportList, OnTab(ControlId::PnlTabs, 1), {10, 10, 180, 350});
        list.items = {"File"};
        Create(list);
        const render::RasterImage* none = nullptr;
        platform->CreateToolbar(0, {{ToolbarItem::TbGerman, none}, {ToolbarItem::TbEnglish, none}});
        Settle();
    }

    void Create(const ControlSpec& spec) { ASSERT_TRUE(platform->CreateControl(spec)); }

    static void ExpectControlEvent(const std::vector<Event>& events, ControlId id, int kind) {
        ASSERT_EQ(events.size(), 1u) << "control " << static_cast<int>(id);
        EXPECT_EQ(events[0].code, kEventControl);
        EXPECT_EQ(events[0].window, 0);
        EXPECT_EQ(events[0].control, id);
        EXPECT_EQ(events[0].kind, kind);
    }
};

TEST_F(EventTest, ProgramChangesRaiseNoEvents) {
    platform->SetState(ControlId::OptModeLogo, 1);
    platform->SetState(ControlId::ChkCircleFilled, 1);
    platform->SetState(ControlId::SpinCircleGap, 3);
    platform->SetText(ControlId::SpinCircleGap, "17");
    platform->SetState(ControlId::TrkLogoAlpha, 200);
    platform->SetState(ControlId::CmbFrameKind, 1);
    platform->SetState(ControlId::PnlTabs, 2);
    platform->SetText(ControlId::TxtMark, "Hallo");
    platform->AddItem(ControlId::LstBatch, "/tmp/a.jpg");
    platform->AddItem(ControlId::LstBatch, "/tmp/b.jpg");
    platform->SetState(ControlId::LstBatch, 1);
    platform->SetItemText(ControlId::LstBatch, 0, "/tmp/c.jpg");
    platform->RemoveItem(ControlId::LstBatch, 1);
    platform->AddItem(ControlId::CmbFrameKind, "Neu");
    platform->ClearItems(ControlId::CmbFrameKind);
    platform->SetToolbarPressed(ToolbarItem::TbGerman, true);
    EXPECT_TRUE(Drain().empty());

    // And the changes took.
    EXPECT_EQ(platform->GetState(ControlId::OptModeLogo), 1);
    EXPECT_EQ(platform->GetState(ControlId::SpinCircleGap), 17);
    EXPECT_EQ(platform->GetText(ControlId::SpinCircleGap), "17");
    EXPECT_EQ(platform->GetState(ControlId::TrkLogoAlpha), 200);
    EXPECT_EQ(platform->GetState(ControlId::PnlTabs), 2);
    EXPECT_EQ(platform->GetText(ControlId::TxtMark), "Hallo");
    EXPECT_EQ(platform->ItemCount(ControlId::LstBatch), 1);
    EXPECT_EQ(platform->ItemText(ControlId::LstBatch, 0), "/tmp/c.jpg");
    EXPECT_TRUE(platform->ToolbarPressed(ToolbarItem::TbGerman));
}

// Event kinds of user actions are compared with the in-memory platform in ParityTest; here,
// what the actions do to the widgets.
TEST_F(EventTest, UserActionsChangeTheWidgetsWithinWhatAUserCanDo) {
    platform->UserSet(ControlId::SpinCircleGap, 500);
    EXPECT_EQ(platform->GetState(ControlId::SpinCircleGap), 200);   // the spin's range holds
    platform->UserType(ControlId::TxtMark, "Gruß");
    EXPECT_EQ(platform->GetText(ControlId::TxtMark), "Gruß");
    EXPECT_EQ(platform->FocusedControl(), ControlId::TxtMark);

    // A user can only pick an entry that is there, and cannot uncheck an option.
    platform->AddItem(ControlId::LstBatch, "/tmp/a.jpg");
    platform->AddItem(ControlId::LstBatch, "/tmp/b.jpg");
    Drain();
    platform->UserSet(ControlId::LstBatch, 5);
    ExpectControlEvent(Drain(), ControlId::LstBatch, kKindChange);
    EXPECT_EQ(platform->GetState(ControlId::LstBatch), 1);
    EXPECT_EQ(platform->ItemState(ControlId::LstBatch, 1) & kItemSelected, kItemSelected);
    platform->UserClick(ControlId::OptModeLogo);
    Drain();
    platform->UserSet(ControlId::OptModeLogo, 0);
    EXPECT_TRUE(Drain().empty());
    EXPECT_EQ(platform->GetState(ControlId::OptModeLogo), 1);
}

TEST_F(EventTest, ScriptedInputLeavesOutWhatTheWindowSystemReports) {
    platform->SetScriptedInput(true);
    QTest::mouseClick(platform->ControlWidget(ControlId::BtnOpen), Qt::LeftButton);
    QTest::mouseMove(platform->ControlWidget(ControlId::BtnOpen), QPoint(3, 3));
    QTest::keyClick(platform->ControlWidget(ControlId::TxtMark), Qt::Key_X);
    platform->WindowWidget(0)->close();
    EXPECT_TRUE(Drain(true).empty());
    platform->UserClick(ControlId::BtnOpen);
    ExpectControlEvent(Drain(), ControlId::BtnOpen, kKindLeftClick);
}

TEST_F(EventTest, OptionsFormGroupsUntilAnotherKindOfControlIsCreated) {
    platform->SetState(ControlId::OptModeText, 1);
    platform->SetState(ControlId::OptSides4, 1);
    platform->UserClick(ControlId::OptModeFrame);
    EXPECT_EQ(platform->GetState(ControlId::OptModeText), 0);
    EXPECT_EQ(platform->GetState(ControlId::OptModeFrame), 1);
    // The checkbox between them split the options into two groups.
    EXPECT_EQ(platform->GetState(ControlId::OptSides4), 1);
    platform->UserClick(ControlId::OptSides2);
    EXPECT_EQ(platform->GetState(ControlId::OptSides4), 0);
    EXPECT_EQ(platform->GetState(ControlId::OptModeFrame), 1);
    // The program may clear an option of an exclusive group.
    platform->SetState(ControlId::OptModeFrame, 0);
    EXPECT_EQ(platform->GetState(ControlId::OptModeFrame), 0);
    EXPECT_EQ(platform->GetState(ControlId::OptModeText), 0);
    Drain();
}

TEST_F(EventTest, RealMouseAndKeyInputBecomeEvents) {
    auto* button = qobject_cast<QPushButton*>(platform->ControlWidget(ControlId::BtnOpen));
    QTest::mouseClick(button, Qt::LeftButton);
    std::vector<Event> events = Drain();
    bool clicked = false;
    for (const Event& e : events) {
        if (e.code == kEventControl && e.control == ControlId::BtnOpen && e.kind == kKindLeftClick) clicked = true;
    }
    EXPECT_TRUE(clicked);

    auto* slider = qobject_cast<QSlider*>(platform->ControlWidget(ControlId::TrkLogoAlpha));
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Right);
    events = Drain();
    int keys = 0;
    int changes = 0;
    for (const Event& e : events) {
        if (e.code == kEventKey) ++keys;
        if (e.code == kEventControl && e.control == ControlId::TrkLogoAlpha && e.kind == kKindChange) ++changes;
    }
    EXPECT_EQ(keys, 1);   // counted once although the key travels up the parents
    // A real Ctrl+A is seen as held while it is down, and released after.
    QTest::keyPress(slider, Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(platform->KeyDown(Key::A));
    QTest::keyRelease(slider, Qt::Key_A, Qt::ControlModifier);
    EXPECT_FALSE(platform->KeyDown(Key::A));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(platform->GetState(ControlId::TrkLogoAlpha), 1);
}

TEST_F(EventTest, PointerMovementIsOneNonControlEventAtATime) {
    platform->UserPointer(0, {70, 300});
    platform->UserPointer(0, {80, 330});
    QTest::mouseMove(platform->ControlWidget(ControlId::BtnOpen), QPoint(5, 5));
    const std::vector<Event> events = Drain(true);
    int moves = 0;
    for (const Event& e : events) {
        if (e.code == kEventPointerMove) ++moves;
        EXPECT_NE(e.code, kEventControl);
    }
    EXPECT_EQ(moves, 1);
}

TEST_F(EventTest, PointerPositionFollowsUserPointerInScreenCoordinates) {
    QWidget* window = platform->WindowWidget(0);
    const QPoint corner = platform->ControlWidget(ControlId::BtnOpen)->mapTo(window, QPoint(0, 0));
    const Rect button = platform->ControlScreenRect(ControlId::BtnOpen);
    EXPECT_EQ(button.width, 155);
    EXPECT_EQ(button.height, 30);
    platform->UserPointer(0, {corner.x(), corner.y()});
    EXPECT_TRUE(button.Contains(platform->PointerPosition()));
    // Right and bottom edges are outside.
    platform->UserPointer(0, {corner.x() + 155, corner.y() + 10});
    EXPECT_FALSE(button.Contains(platform->PointerPosition()));
    platform->UserPointer(0, {corner.x() + 154, corner.y() + 29});
    EXPECT_TRUE(button.Contains(platform->PointerPosition()));
    platform->UserPointer(0, {0, 0});
    const Point origin = platform->PointerPosition();
    const QPoint expected = platform->WindowWidget(0)->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(origin.x, expected.x());
    EXPECT_EQ(origin.y, expected.y());
    Drain();
}

TEST_F(EventTest, ToolbarClicksReportTheItemButLeaveThePressedStateToTheProgram) {
    platform->SetToolbarPressed(ToolbarItem::TbGerman, true);
    platform->UserToolbar(ToolbarItem::TbEnglish);
    const std::vector<Event> events = Drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].code, kEventToolbar);
    EXPECT_EQ(events[0].toolbarItem, ToolbarItem::TbEnglish);
    EXPECT_FALSE(platform->ToolbarPressed(ToolbarItem::TbEnglish));
    EXPECT_TRUE(platform->ToolbarPressed(ToolbarItem::TbGerman));
    // The widgets show the program's pressed states, not the click.
    const auto buttons = platform->WindowWidget(0)->findChildren<QToolButton*>();
    std::vector<QToolButton*> flags;
    for (QToolButton* button : buttons) {
        if (button->isCheckable() && button->objectName() != "qt_toolbar_ext_button") flags.push_back(button);
    }
    ASSERT_EQ(flags.size(), 2u);
    EXPECT_TRUE(flags[0]->isChecked());
    EXPECT_FALSE(flags[1]->isChecked());
    QTest::mouseClick(flags[1], Qt::LeftButton);
    EXPECT_FALSE(flags[1]->isChecked());
    Drain();
}

TEST_F(EventTest, ClosingDropsAndKeysFromUserActions) {
    platform->WindowWidget(0)->close();
    std::vector<Event> events = Drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].code, kEventClose);
    EXPECT_EQ(events[0].window, 0);
    EXPECT_TRUE(platform->WindowExists(0));   // the program decides

    platform->UserDrop({"/tmp/a.jpg"});
    EXPECT_TRUE(Drain().empty());   // the window does not take files yet
    platform->AcceptDrops(0, true);
    platform->UserDrop({"/tmp/a.jpg", "/tmp/b.png"});
    events = Drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].code, kEventDrop);
    EXPECT_EQ(events[0].droppedFiles, (std::vector<std::string>{"/tmp/a.jpg", "/tmp/b.png"}));

    platform->UserKey({Key::Control, Key::A});
    events = Drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].code, kEventKey);
    EXPECT_TRUE(platform->KeyDown(Key::Control));
    EXPECT_TRUE(platform->KeyDown(Key::A));
    platform->UserKey({});
    Drain();
    EXPECT_FALSE(platform->KeyDown(Key::A));
}

TEST_F(EventTest, PollEventNeverBlocks) {
    Drain();
    const Event none = platform->PollEvent();
    EXPECT_EQ(none.code, kEventNone);
    platform->UserClick(ControlId::BtnOpen);
    const Event first = platform->PollEvent();
    EXPECT_EQ(first.code, kEventControl);
    EXPECT_EQ(platform->PollEvent().code, kEventNone);
}

TEST_F(EventTest, FocusIsReportedByControl) {
    platform->SetFocus(ControlId::SpinCircleGap);
    Settle();
    EXPECT_EQ(platform->FocusedControl(), ControlId::SpinCircleGap);
    platform->SetFocus(ControlId::TxtMark);
    Settle();
    EXPECT_EQ(platform->FocusedControl(), ControlId::TxtMark);
    Drain();
}

}  // namespace
}  // namespace velinor::platform::qt::test
