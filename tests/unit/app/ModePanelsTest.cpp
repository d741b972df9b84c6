#include "app/ModePanels.h"

#include <gtest/gtest.h>

#include "ShellFixture.h"

namespace velinor::app {
namespace {

using platform::ControlId;
using testing::FakePlatform;

void CheckOnly(FakePlatform& p, ControlId checked) {
    for (ControlId id : {ControlId::OptModeText, ControlId::OptModeLogo, ControlId::OptModeFrame}) {
        p.At(id).state = id == checked ? 1 : 0;
    }
}

class ModePanels : public testing::ShellFixture {};

TEST_F(ModePanels, PanelsChangeOnlyWithTheNextNonControlEvent) {
    QueueControl(ControlId::OptModeLogo, [](FakePlatform& p) { CheckOnly(p, ControlId::OptModeLogo); });
    Observe([](FakePlatform& p) {
        EXPECT_TRUE(p.At(ControlId::BoxText).visible);
        EXPECT_FALSE(p.At(ControlId::BoxLogo).visible);
    });
    QueuePointer({10, 10});
    Observe([](FakePlatform& p) {
        EXPECT_FALSE(p.At(ControlId::BoxText).visible);
        EXPECT_TRUE(p.At(ControlId::BoxLogo).visible);
        EXPECT_FALSE(p.At(ControlId::BoxFrame).visible);
    });
    RunProgram();
}

TEST_F(ModePanels, TheFrameKindChoosesOneOfFourContainers) {
    QueueControl(ControlId::OptModeFrame, [](FakePlatform& p) { CheckOnly(p, ControlId::OptModeFrame); });
    QueuePointer({0, 0});
    Observe([](FakePlatform& p) {
        EXPECT_TRUE(p.At(ControlId::BoxFrame).visible);
        EXPECT_TRUE(p.At(ControlId::BoxTexture).visible);
        EXPECT_FALSE(p.At(ControlId::BoxCircles).visible);
    });
    for (int kind = 1; kind < 4; ++kind) {
        QueuePointer({0, 0}, [kind](FakePlatform& p) { p.At(ControlId::CmbFrameKind).state = kind; });
        Observe([kind](FakePlatform& p) {
            const ControlId boxes[] = {ControlId::BoxTexture, ControlId::BoxCircles, ControlId::BoxSpare1,
                                       ControlId::BoxSpare2};
            for (int i = 0; i < 4; ++i) EXPECT_EQ(p.At(boxes[i]).visible, i == kind) << kind << " " << i;
        });
    }
    RunProgram();
}

class StatusHints : public testing::ShellFixture {
protected:
    StatusHints() {
        // BtnOpen covers x 100..254, y 200..229 on the screen; ImgSource lies elsewhere.
        Observe([](FakePlatform& p) {
            p.At(ControlId::BtnOpen).screen = {100, 200, 155, 30};
            p.At(ControlId::ImgSource).screen = {400, 400, 10, 10};
            p.At(ControlId::ImgPreview).screen = {400, 400, 10, 10};
            p.At(ControlId::BtnSave).screen = {400, 400, 10, 10};
        });
    }
    void ExpectHintAt(platform::Point at, const std::string& hint) {
        QueuePointer(at);
        Observe([at, hint](FakePlatform& p) { EXPECT_EQ(p.status[0], hint) << at.x << "," << at.y; });
    }
};

TEST_F(StatusHints, PointerEdgesLeftAndTopInsideRightAndBottomOutside) {
    const std::string open = "\xC3\x96" "ffnet ein Bild (JPEG, BMP, PNG oder TGA).";
    const std::string textMode = "Textmodus: Text eingeben, Schrift und Position w\xC3\xA4hlen, dann \xC2\xBBText "
                                 "anwenden\xC2\xAB dr\xC3\xBC" "cken.";
    ExpectHintAt({100, 200}, open);
    ExpectHintAt({254, 229}, open);
    ExpectHintAt({255, 210}, textMode);
    ExpectHintAt({120, 230}, textMode);
    ExpectHintAt({99, 210}, textMode);
    RunProgram();
}

TEST_F(StatusHints, HintsFollowTabAndMode) {
    QueuePointer({0, 0}, [](FakePlatform& p) { CheckOnly(p, ControlId::OptModeLogo); });
    Observe([](FakePlatform& p) { EXPECT_EQ(p.status[0].rfind("Logomodus", 0), 0u); });
    QueuePointer({0, 0}, [](FakePlatform& p) { CheckOnly(p, ControlId::OptModeFrame); });
    Observe([](FakePlatform& p) { EXPECT_EQ(p.status[0], ""); });
    QueuePointer({0, 0}, [](FakePlatform& p) { p.At(ControlId::PnlTabs).state = 1; });
    Observe([](FakePlatform& p) { EXPECT_EQ(p.status[0].rfind("Bilder zur Liste", 0), 0u); });
    // On the settings and information tabs nothing is hinted, not even over BtnOpen.
    for (int tab : {2, 3}) {
        QueuePointer({110, 210}, [tab](FakePlatform& p) { p.At(ControlId::PnlTabs).state = tab; });
        Observe([](FakePlatform& p) { EXPECT_EQ(p.status[0], ""); });
    }
    RunProgram();
}

TEST_F(StatusHints, TheHintIsRefreshedAfterControlEventsToo) {
    QueueControl(ControlId::OptModeLogo, [](FakePlatform& p) {
        CheckOnly(p, ControlId::OptModeLogo);
        p.status[0] = "stale";
    });
    Observe([](FakePlatform& p) { EXPECT_EQ(p.status[0].rfind("Logomodus", 0), 0u); });
    RunProgram();
}

}  // namespace
}  // namespace velinor::app
