#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "GuiFixture.h"

namespace velinor::platform::qt::test {
namespace {

// A small modal window of the kind the program opens for the JPEG quality: a track bar and an
// OK button, run by a loop of its own while the main window takes no input.
class SecondaryWindowTest : public QtPlatformTest {
protected:
    void SetUp() override {
        QtPlatformTest::SetUp();
        OpenMain();
        ASSERT_TRUE(platform->CreateControl(Spec(ControlId::BtnOpen, ControlKind::Button, InWindow(), {65, 295, 155, 30}, "Öffnen")));
        platform->EnableWindow(0, false);
        ASSERT_TRUE(platform->OpenWindow(Window(4, "Qualität", 250, 80, 0)));
        auto track = Spec(ControlId::TrkQuality, ControlKind::TrackBar, InWindow(4), {66, 30, 115, 15});
        track.maximum = 10;
        ASSERT_TRUE(platform->CreateControl(track));
        ASSERT_TRUE(platform->CreateControl(Spec(ControlId::BtnQualityOk, ControlKind::Button, InWindow(4), {105, 45, 40, 20}, "OK")));
        platform->SetState(ControlId::TrkQuality, 4);
        Settle();
    }

    // The loop the program runs: every event is consumed until OK is pressed.
    int RunUntilOk(int* eventsSeen) {
        for (;;) {
            const Event event = platform->WaitEvent();
            ++*eventsSeen;
            if (event.code == kEventControl && event.control == ControlId::BtnQualityOk) {
                EXPECT_EQ(event.window, 4);
                const int value = platform->GetState(ControlId::TrkQuality);
                platform->CloseWindow(4);
                platform->EnableWindow(0, true);
                return value;
            }
        }
    }
};

TEST_F(SecondaryWindowTest, LoopRunsUntilTheButtonIsPressed) {
    EXPECT_FALSE(platform->WindowEnabled(0));
    QTimer::singleShot(10, [this] { platform->UserSet(ControlId::TrkQuality, 7); });
    QTimer::singleShot(30, [this] {
        QTest::mouseClick(platform->ControlWidget(ControlId::BtnQualityOk), Qt::LeftButton);
    });
    int events = 0;
    EXPECT_EQ(RunUntilOk(&events), 7);
    EXPECT_GE(events, 2);
    EXPECT_FALSE(platform->WindowExists(4));
    EXPECT_FALSE(platform->ControlExists(ControlId::TrkQuality));
    EXPECT_TRUE(platform->WindowEnabled(0));
}

TEST_F(SecondaryWindowTest, DisabledMainWindowTakesNoInput) {
    auto* open = platform->ControlWidget(ControlId::BtnOpen);
    QTest::mouseClick(open, Qt::LeftButton);
    platform->WindowWidget(0)->close();
    for (const Event& event : Drain()) {
        EXPECT_NE(event.code, kEventControl);
        EXPECT_NE(event.code, kEventClose);
    }
    platform->EnableWindow(0, true);
    QTest::mouseClick(open, Qt::LeftButton);
    bool clicked = false;
    for (const Event& event : Drain()) clicked = clicked || event.control == ControlId::BtnOpen;
    EXPECT_TRUE(clicked);
}

TEST_F(SecondaryWindowTest, SecondaryWindowKeepsItsLookAndInputWhileTheOwnerIsDisabled) {
    EXPECT_TRUE(platform->ControlWidget(ControlId::BtnOpen)->isEnabled());   // looks unchanged
    QTest::mouseClick(platform->ControlWidget(ControlId::BtnQualityOk), Qt::LeftButton);
    const std::vector<Event> events = Drain();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().control, ControlId::BtnQualityOk);
    EXPECT_EQ(events.back().window, 4);
}

}  // namespace
}  // namespace velinor::platform::qt::test

namespace velinor::platform::qt::test {
namespace {

TEST_F(QtPlatformTest, ScreenPixelReadsWhatAPictureShowsInTheTopWindow) {
    OpenMain();
    ASSERT_TRUE(platform->OpenWindow(Window(5, "Farbe", 300, 300, 0)));
    render::RasterImage image;
    image.width = 4;
    image.height = 2;
    image.pixels = {0x0000FF, 0x00FF00, 0xFF0000, 0x123456, 0, 0, 0, 0x0A0B0C};
    auto spec = Spec(ControlId::ImgPicker, ControlKind::Image, InWindow(5), {0, 0, 300, 300});
    spec.image = &image;
    ASSERT_TRUE(platform->CreateControl(spec));
    Settle();
    const Rect rect = platform->ControlScreenRect(ControlId::ImgPicker);
    EXPECT_EQ(rect.width, 4);
    EXPECT_EQ(platform->ScreenPixel({rect.x + 1, rect.y}), 0x00FF00);
    EXPECT_EQ(platform->ScreenPixel({rect.x + 3, rect.y}), 0x123456);
    EXPECT_EQ(platform->ScreenPixel({rect.x + 3, rect.y + 1}), 0x0A0B0C);
}

}  // namespace
}  // namespace velinor::platform::qt::test

namespace velinor::platform::qt::test {
namespace {

TEST_F(SecondaryWindowTest, PickerPointerShowsOnlyOverWindowsThatTakeInput) {
    platform->SetPointerShape(PointerShape::Picker);
    EXPECT_EQ(platform->WindowWidget(4)->cursor().shape(), Qt::BitmapCursor);
    EXPECT_NE(platform->WindowWidget(0)->cursor().shape(), Qt::BitmapCursor);
    platform->SetPointerShape(PointerShape::Arrow);
    EXPECT_EQ(platform->WindowWidget(4)->cursor().shape(), Qt::ArrowCursor);
}

}  // namespace
}  // namespace velinor::platform::qt::test
