#include "app/ModePanels.h"

#include <gtest/gtest.h>

#include "ShellFixture.h"

namespace velinor::app {
namespace {

using platform::ControlId;
using testing::RecordingPlatform;

// The user checks a mode option and moves the pointer (a non-control event).
void Mode(RecordingPlatform& p, ControlId option) {
    p.UserClick(option);
    p.PointerAt({0, 0});
}

class ModePanels : public testing::ShellFixture {};

TEST_F(ModePanels, PanelsChangeOnlyWithTheNextNonControlEvent) {
    Then([](RecordingPlatform& p) { p.UserClick(ControlId::OptModeLogo); });
    Then([](RecordingPlatform& p) {
        EXPECT_TRUE(p.ControlVisible(ControlId::BoxText));
        EXPECT_FALSE(p.ControlVisible(ControlId::BoxLogo));
    });
    Then([](RecordingPlatform& p) { p.PointerAt({10, 10}); });
    Then([](RecordingPlatform& p) {
        EXPECT_FALSE(p.ControlVisible(ControlId::BoxText));
        EXPECT_TRUE(p.ControlVisible(ControlId::BoxLogo));
        EXPECT_FALSE(p.ControlVisible(ControlId::BoxFrame));
    });
    RunProgram();
}

TEST_F(ModePanels, TheFrameKindChoosesOneOfFourContainers) {
    Then([](RecordingPlatform& p) { Mode(p, ControlId::OptModeFrame); });
    Then([](RecordingPlatform& p) {
        EXPECT_TRUE(p.ControlVisible(ControlId::BoxFrame));
        EXPECT_TRUE(p.ControlVisible(ControlId::BoxTexture));
        EXPECT_FALSE(p.ControlVisible(ControlId::BoxCircles));
    });
    // The combo box offers entries 0 and 1; the program may set 2 and 3 for further kinds.
    for (int kind = 1; kind < 4; ++kind) {
        Then([kind](RecordingPlatform& p) {
            if (kind == 1) {
                p.UserSet(ControlId::CmbFrameKind, kind);
            } else {
                p.AddItem(ControlId::CmbFrameKind, "spare");
                p.SetState(ControlId::CmbFrameKind, kind);
            }
            p.PointerAt({0, 0});
        });
        Then([kind](RecordingPlatform& p) {
            const ControlId boxes[] = {ControlId::BoxTexture, ControlId::BoxCircles, ControlId::BoxSpare1,
                                       ControlId::BoxSpare2};
            for (int i = 0; i < 4; ++i) EXPECT_EQ(p.ControlVisible(boxes[i]), i == kind) << kind << " " << i;
        });
    }
    RunProgram();
}

class StatusHints : public testing::ShellFixture {
protected:
    // Moves the pointer to a point relative to the top-left corner of a control on the screen.
    void ExpectHintAt(ControlId control, platform::Point offset, const std::string& hint) {
        Then([control, offset](RecordingPlatform& p) {
            const platform::Rect r = p.ControlScreenRect(control);
            p.PointerAt({r.x + offset.x, r.y + offset.y});
        });
        Then([control, offset, hint](RecordingPlatform& p) {
            EXPECT_EQ(p.StatusText(0), hint) << static_cast<int>(control) << " " << offset.x << "," << offset.y;
        });
    }
};

TEST_F(StatusHints, PointerEdgesLeftAndTopInsideRightAndBottomOutside) {
    const std::string open = "\xC3\x96" "ffnet ein Bild (JPEG, BMP, PNG oder TGA).";
    const std::string textMode = "Textmodus: Text eingeben, Schrift und Position w\xC3\xA4hlen, dann \xC2\xBBText "
                                 "anwenden\xC2\xAB dr\xC3\xBC" "cken.";
    // BtnOpen is 155 x 30 (and clear of the pictures and the save button).
    ExpectHintAt(ControlId::BtnOpen, {0, 0}, open);
    ExpectHintAt(ControlId::BtnOpen, {154, 29}, open);
    ExpectHintAt(ControlId::BtnOpen, {155, 10}, textMode);
    ExpectHintAt(ControlId::BtnOpen, {20, 30}, textMode);
    ExpectHintAt(ControlId::BtnOpen, {-1, 10}, textMode);
    RunProgram();
}

TEST_F(StatusHints, HintsFollowTabAndMode) {
    Then([](RecordingPlatform& p) { Mode(p, ControlId::OptModeLogo); });
    Then([](RecordingPlatform& p) { EXPECT_EQ(p.StatusText(0).rfind("Logomodus", 0), 0u); });
    Then([](RecordingPlatform& p) { Mode(p, ControlId::OptModeFrame); });
    Then([](RecordingPlatform& p) { EXPECT_EQ(p.StatusText(0), ""); });
    Then([](RecordingPlatform& p) {
        p.UserSet(ControlId::PnlTabs, 1);
        p.PointerAt({0, 0});
    });
    Then([](RecordingPlatform& p) { EXPECT_EQ(p.StatusText(0).rfind("Bilder zur Liste", 0), 0u); });
    // On the settings and information tabs nothing is hinted, not even over BtnOpen.
    for (int tab : {2, 3}) {
        Then([tab](RecordingPlatform& p) {
            p.UserSet(ControlId::PnlTabs, tab);
            const platform::Rect open = p.ControlScreenRect(ControlId::BtnOpen);
            p.PointerAt({open.x + 10, open.y + 10});
        });
        Then([](RecordingPlatform& p) { EXPECT_EQ(p.StatusText(0), ""); });
    }
    RunProgram();
}

TEST_F(StatusHints, TheHintIsRefreshedAfterControlEventsToo) {
    Then([](RecordingPlatform& p) { p.PointerAt({0, 0}); });   // over no control
    Then([](RecordingPlatform& p) {
        p.SetStatusText(0, "stale");
        p.UserClick(ControlId::OptModeLogo);
    });
    Then([](RecordingPlatform& p) { EXPECT_EQ(p.StatusText(0).rfind("Logomodus", 0), 0u); });
    RunProgram();
}

}  // namespace
}  // namespace velinor::app
