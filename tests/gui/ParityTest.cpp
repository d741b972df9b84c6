#include <functional>

#include "GuiFixture.h"
#include "platform/headless/HeadlessPlatform.h"

namespace velinor::platform::qt::test {
namespace {

// The same controls on any backend: options, a checkbox, a button, a spin, a track bar, a
// combo, a report list and a text field on the pages of a tab panel, and a toolbar.
void BuildWindow(Platform& platform) {
    ASSERT_TRUE(platform.OpenWindow(Window(0, "Velinor V3.01", 620, 595)));
    const render::RasterImage* none = nullptr;
    platform.CreateToolbar(0, {{ToolbarItem::TbGerman, none}, {ToolbarItem::TbEnglish, none}});
    auto tabs = Spec(ControlId::PnlTabs, ControlKind::TabPanel, InWindow(), {0, 25, 618, 550});
    tabs.items = {"Bild", "Stapel", "Einstellungen", "INFO"};
    ASSERT_TRUE(platform.CreateControl(tabs));
    const auto page = OnTab(ControlId::PnlTabs, 0);
    ASSERT_TRUE(platform.CreateControl(Spec(ControlId::OptModeText, ControlKind::Option, page, {50, 395, 100, 20}, "Text")));
    ASSERT_TRUE(platform.CreateControl(Spec(ControlId::OptModeLogo, ControlKind::Option, page, {50, 415, 100, 20}, "Logo")));
    ASSERT_TRUE(platform.CreateControl(Spec(ControlId::ChkCircleFilled, ControlKind::Checkbox, page, {230, 35, 135, 20}, "Gefüllt")));
    ASSERT_TRUE(platform.CreateControl(Spec(ControlId::BtnOpen, ControlKind::Button, page, {65, 295, 155, 30}, "Öffnen")));
    auto spin = Spec(ControlId::SpinTexWidth, ControlKind::Spin, page, {270, 0, 45, 20});
    spin.minimum = 16;
    spin.maximum = 128;
    ASSERT_TRUE(platform.CreateControl(spin));
    auto track = Spec(ControlId::TrkLogoAlpha, ControlKind::TrackBar, page, {130, 40, 130, 15});
    track.maximum = 255;
    ASSERT_TRUE(platform.CreateControl(track));
    auto combo = Spec(ControlId::CmbFrameKind, ControlKind::ComboBox, page, {10, 10, 155, 100});
    combo.items = {"Textur Rahmen-1", "Kreis Rahmen"};
    ASSERT_TRUE(platform.CreateControl(combo));
    ASSERT_TRUE(platform.CreateControl(Spec(ControlId::TxtMark, ControlKind::TextField, page, {90, 5, 150, 20})));
    auto list = Spec(ControlId::LstBatch, ControlKind::ReportList, OnTab(ControlId::PnlTabs, 1), {10, 10, 180, 350});
    list.items = {"File"};
    ASSERT_TRUE(platform.CreateControl(list));
    for (const char* path : {"/p/a.jpg", "/p/b.jpg", "/p/c.jpg"}) platform.AddItem(ControlId::LstBatch, path);
    platform.SetState(ControlId::OptModeText, 1);
    platform.AcceptDrops(0, true);
}

// What a user does, the same on every backend.
void Act(UserActions& user) {
    user.UserClick(ControlId::OptModeLogo);
    user.UserClick(ControlId::ChkCircleFilled);
    user.UserSet(ControlId::TrkLogoAlpha, 100);
    user.UserSet(ControlId::TrkLogoAlpha, 100);
    user.UserSet(ControlId::SpinTexWidth, 64);
    user.UserSet(ControlId::SpinTexWidth, 500);
    user.UserSet(ControlId::CmbFrameKind, 1);
    user.UserSet(ControlId::OptModeText, 0);
    user.UserSet(ControlId::PnlTabs, 1);
    user.UserSet(ControlId::LstBatch, 2);
    user.UserSelect(ControlId::LstBatch, {0}, false);
    user.UserType(ControlId::TxtMark, "Urlaub 2026");
    user.UserClick(ControlId::BtnOpen);
    user.UserPointer(0, {10, 10});
    user.UserKey({Key::Control, Key::A});
    user.UserToolbar(ToolbarItem::TbEnglish);
    user.UserDrop({"/p/x.png"});
    user.UserClose(0);
}

std::string Describe(const Event& e) {
    std::string text = "code " + std::to_string(e.code) + " window " + std::to_string(e.window);
    if (e.code == kEventControl) text += " control " + std::to_string(static_cast<int>(e.control)) + " kind " + std::to_string(e.kind);
    if (e.code == kEventToolbar) text += " item " + std::to_string(static_cast<int>(e.toolbarItem));
    for (const std::string& file : e.droppedFiles) text += " " + file;
    return text;
}

std::vector<std::string> Collect(Platform& platform, UserActions& user) {
    std::vector<std::string> events;
    while (user.HasPendingEvent()) events.push_back(Describe(platform.PollEvent()));
    return events;
}

TEST_F(QtPlatformTest, UserActionsRaiseTheSameEventsAndStatesAsTheInMemoryPlatform) {
    platform->SetScriptedInput(true);   // only the actions below, nothing from the display
    HeadlessPlatform headless;
    BuildWindow(headless);
    BuildWindow(*platform);
    Settle();

    std::vector<std::string> expected;
    std::vector<std::string> actual;
    // One action at a time, so that an extra or missing event shows where it came from.
    Act(headless);
    expected = Collect(headless, headless);
    Act(*platform);
    actual = Collect(*platform, *platform);
    EXPECT_EQ(actual, expected);

    for (ControlId id : {ControlId::OptModeText, ControlId::OptModeLogo, ControlId::ChkCircleFilled,
                         ControlId::TrkLogoAlpha, ControlId::SpinTexWidth, ControlId::CmbFrameKind,
                         ControlId::PnlTabs, ControlId::LstBatch}) {
        EXPECT_EQ(platform->GetState(id), headless.GetState(id)) << static_cast<int>(id);
    }
    EXPECT_EQ(platform->GetText(ControlId::TxtMark), headless.GetText(ControlId::TxtMark));
    EXPECT_EQ(platform->FocusedControl(), headless.FocusedControl());
    EXPECT_EQ(platform->KeyDown(Key::A), headless.KeyDown(Key::A));
}

}  // namespace
}  // namespace velinor::platform::qt::test
