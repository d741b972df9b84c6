#include "app/MainWindowLayout.h"

#include "imageio/PictureKinds.h"

namespace velinor::app {

namespace {

using C = platform::ControlId;
using K = platform::ControlKind;
using platform::kFlagBorder;
using platform::kFlagCentred;
using platform::kFlagMultiLine;
using platform::kFlagReadOnly;

constexpr ParentRef Window() { return {}; }
constexpr ParentRef Tab(int page) { return {C::PnlTabs, page}; }
constexpr ParentRef In(C container) { return {container, -1}; }
constexpr ParentRef BatchMark(int page) { return {C::PnlBatchMark, page}; }

constexpr TextRef kDefaultDirText{TextRef::Source::DefaultDir, kTextNone, nullptr};
constexpr TextRef kInfoText{TextRef::Source::Info, kTextNone, nullptr};
constexpr TextRef kWebsiteText{TextRef::Source::Website, kTextNone, nullptr};

const std::vector<LayoutRow>& Rows() {
    static const std::vector<LayoutRow> rows = {
        {C::PnlTabs, K::TabPanel, Window(), {0, 25, 618, 550}, {}, 0, 0, 0,
         {Key(kTextTabStamp), Key(kTextTabBatch), Key(kTextTabSettings), Literal("INFO")}},

        // Tab 0: pictures and the three kinds of mark
        {C::FrmSource, K::Frame, Tab(0), {20, 20, 275, 250}, Key(kTextOriginalPicture)},
        {C::BtnOpen, K::Button, Tab(0), {65, 295, 155, 30}, Key(kTextOpenPicture)},
        {C::FrmPreview, K::Frame, Tab(0), {320, 20, 275, 250}, Key(kTextPreview)},
        {C::BtnSave, K::Button, Tab(0), {385, 295, 155, 30}, Key(kTextSavePicture)},
        {C::FrmSettings, K::Frame, Tab(0), {20, 335, 580, 180}, Key(kTextStampSettings)},
        {C::FrmMode, K::Frame, Tab(0), {40, 375, 155, 100}, Key(kTextMode)},
        {C::OptModeText, K::Option, Tab(0), {50, 395, 100, 20}, Key(kTextModeText)},
        {C::OptModeLogo, K::Option, Tab(0), {50, 415, 100, 20}, Key(kTextModeLogo)},
        {C::OptModeFrame, K::Option, Tab(0), {50, 435, 100, 20}, Key(kTextModeFrame)},
        {C::BoxSource, K::Container, Tab(0), {30, 37, 255, 225}},
        {C::ImgSource, K::Image, In(C::BoxSource), {0, 0, 255, 225}, {}, 0, 0, 0, {}, nullptr, 46},
        {C::BoxPreview, K::Container, Tab(0), {330, 37, 255, 225}},
        {C::ImgPreview, K::Image, In(C::BoxPreview), {0, 0, 255, 225}, {}, 0, 0, 0, {}, nullptr, 46},

        {C::BoxText, K::Container, Tab(0), {200, 350, 390, 158}, {}, kFlagBorder},
        {C::LblText, K::Label, In(C::BoxText), {7, 6, 100, 20}, Key(kTextMarkText)},
        {C::TxtMark, K::TextField, In(C::BoxText), {90, 5, 150, 20}},
        {C::BtnFont, K::Button, In(C::BoxText), {250, 5, 115, 20}, Key(kTextChooseFont)},
        {C::BtnApplyText, K::Button, In(C::BoxText), {210, 63, 170, 20}, Key(kTextApplyText)},
        {C::LblTextPos, K::Label, In(C::BoxText), {10, 65, 190, 20}, Key(kTextPosition)},
        {C::OptTextPos1, K::Option, In(C::BoxText), {10, 85, 190, 15}, Key(kTextCentre)},
        {C::OptTextPos2, K::Option, In(C::BoxText), {10, 100, 190, 15}, Key(kTextTopCentre)},
        {C::OptTextPos3, K::Option, In(C::BoxText), {10, 115, 190, 15}, Key(kTextBottomCentre)},
        {C::OptTextPos4, K::Option, In(C::BoxText), {10, 130, 190, 15}, Key(kTextTopLeft)},
        {C::OptTextPos5, K::Option, In(C::BoxText), {210, 85, 190, 15}, Key(kTextTopRight)},
        {C::OptTextPos6, K::Option, In(C::BoxText), {210, 100, 190, 15}, Key(kTextBottomLeft)},
        {C::OptTextPos7, K::Option, In(C::BoxText), {210, 115, 190, 15}, Key(kTextBottomRight)},

        {C::BoxLogo, K::Container, Tab(0), {200, 350, 390, 158}, {}, kFlagBorder},
        {C::LblLogoFile, K::Label, In(C::BoxLogo), {7, 6, 100, 20}, Key(kTextLogoFile)},
        {C::TxtLogoFile, K::TextField, In(C::BoxLogo), {75, 5, 150, 20}, {}, kFlagReadOnly},
        {C::LblLogoAlpha, K::Label, In(C::BoxLogo), {7, 40, 140, 20}, Key(kTextTransparency)},
        {C::TrkLogoAlpha, K::TrackBar, In(C::BoxLogo), {130, 40, 130, 15}, {}, 0, 0, 255},
        {C::LblLogoAlphaMax, K::Label, In(C::BoxLogo), {262, 40, 100, 20}, Key(kTextTransparencyMax)},
        {C::LblLogoPos, K::Label, In(C::BoxLogo), {10, 65, 190, 20}, Key(kTextPosition)},
        {C::OptLogoPos1, K::Option, In(C::BoxLogo), {10, 85, 190, 15}, Key(kTextCentre)},
        {C::OptLogoPos2, K::Option, In(C::BoxLogo), {10, 100, 190, 15}, Key(kTextTopCentre)},
        {C::OptLogoPos3, K::Option, In(C::BoxLogo), {10, 115, 190, 15}, Key(kTextBottomCentre)},
        {C::OptLogoPos4, K::Option, In(C::BoxLogo), {10, 130, 190, 15}, Key(kTextTopLeft)},
        {C::OptLogoPos5, K::Option, In(C::BoxLogo), {210, 85, 190, 15}, Key(kTextTopRight)},
        {C::OptLogoPos6, K::Option, In(C::BoxLogo), {210, 100, 190, 15}, Key(kTextBottomLeft)},
        {C::OptLogoPos7, K::Option, In(C::BoxLogo), {210, 115, 190, 15}, Key(kTextBottomRight)},
        {C::BtnLogoFile, K::Button, In(C::BoxLogo), {230, 5, 20, 20}, Literal("...")},

        {C::BoxFrame, K::Container, Tab(0), {200, 350, 390, 158}, {}, kFlagBorder},
        {C::CmbFrameKind, K::ComboBox, In(C::BoxFrame), {10, 10, 155, 100}, {}, 0, 0, 0,
         {Key(kTextTextureFrame), Key(kTextCircleFrame)}},
        {C::BoxTexture, K::Container, In(C::BoxFrame), {10, 40, 370, 110}},
        {C::TreeTextures, K::Tree, In(C::BoxTexture), {0, 0, 155, 110}},
        {C::LblTexWidth, K::Label, In(C::BoxTexture), {200, 2, 65, 20}, Key(kTextBandWidth)},
        {C::SpinTexWidth, K::Spin, In(C::BoxTexture), {270, 0, 45, 20}, {}, 0, 16, 128},
        {C::LblTexAlpha, K::Label, In(C::BoxTexture), {180, 30, 100, 20}, Key(kTextTransparency)},
        {C::TrkTexAlpha, K::TrackBar, In(C::BoxTexture), {265, 30, 85, 20}, {}, 0, 0, 255},
        {C::LblTexAlphaMax, K::Label, In(C::BoxTexture), {350, 30, 120, 20}, Key(kTextTransparencyMax)},
        {C::BtnTexUpdate, K::Button, In(C::BoxTexture), {210, 60, 100, 20}, Key(kTextUpdate)},
        {C::BoxCircles, K::Container, In(C::BoxFrame), {10, 40, 370, 110}},
        {C::LblCircleWidth, K::Label, In(C::BoxCircles), {67, 12, 65, 20}, Key(kTextBandWidth)},
        {C::SpinCircleWidth, K::Spin, In(C::BoxCircles), {137, 10, 45, 20}, {}, 0, 16, 128},
        {C::LblCircleRadius, K::Label, In(C::BoxCircles), {3, 58, 130, 20}, Key(kTextCircleRadius)},
        {C::SpinCircleRadius, K::Spin, In(C::BoxCircles), {137, 55, 45, 20}, {}, 0, 1, 200},
        {C::LblCircleGap, K::Label, In(C::BoxCircles), {53, 35, 100, 20}, Key(kTextCircleGap)},
        {C::SpinCircleGap, K::Spin, In(C::BoxCircles), {137, 33, 45, 20}, {}, 0, 1, 200},
        {C::OptSides2, K::Option, In(C::BoxCircles), {230, 12, 65, 20}, Key(kTextTwoSides)},
        {C::OptSides4, K::Option, In(C::BoxCircles), {300, 12, 65, 20}, Key(kTextFourSides)},
        {C::ChkCircleFilled, K::Checkbox, In(C::BoxCircles), {230, 35, 135, 20}, Key(kTextFilledCircles)},
        {C::LblCircleColour, K::Label, In(C::BoxCircles), {230, 58, 100, 20}, Key(kTextChooseColour)},
        {C::BtnCircleColour, K::Button, In(C::BoxCircles), {335, 56, 17, 17}},
        {C::LblCircleAlpha, K::Label, In(C::BoxCircles), {5, 80, 100, 20}, Key(kTextTransparency)},
        {C::TrkCircleAlpha, K::TrackBar, In(C::BoxCircles), {90, 80, 85, 20}, {}, 0, 0, 255},
        {C::LblCircleAlphaMax, K::Label, In(C::BoxCircles), {175, 80, 120, 20}, Key(kTextTransparencyMax)},
        {C::BtnCircleUpdate, K::Button, In(C::BoxCircles), {240, 80, 100, 20}, Key(kTextUpdate)},
        {C::BoxSpare1, K::Container, In(C::BoxFrame), {10, 40, 370, 110}},
        {C::BoxSpare2, K::Container, In(C::BoxFrame), {10, 40, 370, 110}},

        // Tab 1: the batch
        {C::LstBatch, K::ReportList, Tab(1), {10, 10, 180, 350}, {}, 0, 0, 0, {Key(kTextFileColumn)}},
        {C::CmbExplorer, K::FolderCombo, Tab(1), {330, 10, 180, 220}, kDefaultDirText},
        {C::LstExplorer, K::FileList, Tab(1), {300, 40, 300, 155}, kDefaultDirText, 0, 0, 0, {},
         imageio::PatternText(imageio::FilePattern::Explorer).c_str()},
        {C::BtnBatchStart, K::Button, Tab(1), {193, 40, 105, 25}, Key(kTextStart)},
        {C::BtnAddSelected, K::Button, Tab(1), {193, 70, 105, 25}, Key(kTextAddSelected)},
        {C::BtnAddAll, K::Button, Tab(1), {193, 100, 105, 25}, Key(kTextAddAll)},
        {C::BtnRemove, K::Button, Tab(1), {193, 130, 105, 25}, Key(kTextRemove)},
        {C::BtnClear, K::Button, Tab(1), {193, 160, 105, 25}, Key(kTextClearList)},
        {C::BtnSort, K::Button, Tab(1), {193, 190, 105, 25}, Key(kTextSort)},
        {C::BtnMoveDown, K::Button, Tab(1), {193, 220, 105, 25}, Key(kTextMoveDown)},
        {C::BtnMoveUp, K::Button, Tab(1), {193, 250, 105, 25}, Key(kTextMoveUp)},
        {C::BoxThumb, K::Container, Tab(1), {20, 370, 165, 140}, {}, kFlagBorder},
        {C::ImgThumb, K::Image, In(C::BoxThumb), {0, 0, 160, 140}, {}, 0, 0, 0, {}, nullptr, 123},
        {C::ChkThumb, K::Checkbox, Tab(1), {200, 440, 70, 20}, Key(kTextThumbPreview)},
        {C::FrmOutput, K::Frame, Tab(1), {310, 210, 280, 70}, Key(kTextOutputFolder)},
        {C::TxtOutputDir, K::TextField, Tab(1), {325, 230, 170, 20}, {}, kFlagReadOnly},
        {C::ChkKeepNames, K::Checkbox, Tab(1), {325, 255, 200, 20}, Key(kTextKeepNames)},
        {C::BtnOutputDir, K::Button, Tab(1), {500, 230, 80, 20}, Key(kTextChooseOutputFolder)},
        // The third page is removed again after the build, so the language switch leaves it.
        {C::PnlBatchMark, K::TabPanel, Tab(1), {280, 290, 320, 220}, {}, 0, 0, 0,
         {Key(kTextModeText), Key(kTextModeLogo), KeyOfStart(kTextModeFrame)}},
        {C::BoxBatchText, K::Container, BatchMark(0), {5, 5, 305, 185}, {}, kFlagBorder},
        {C::LblBatchText, K::Label, In(C::BoxBatchText), {5, 5, 90, 20}, Key(kTextMarkText)},
        {C::TxtBatchMark, K::TextField, In(C::BoxBatchText), {90, 4, 140, 20}},
        {C::BtnBatchFont, K::Button, In(C::BoxBatchText), {240, 4, 50, 20}, Key(kTextBatchFont)},
        {C::LblBatchTextPos, K::Label, In(C::BoxBatchText), {55, 35, 200, 20}, Key(kTextPosition)},
        {C::OptBatchTextPos1, K::Option, In(C::BoxBatchText), {55, 55, 150, 15}, Key(kTextCentre)},
        {C::OptBatchTextPos2, K::Option, In(C::BoxBatchText), {55, 70, 190, 15}, Key(kTextTopCentre)},
        {C::OptBatchTextPos3, K::Option, In(C::BoxBatchText), {55, 85, 190, 15}, Key(kTextBottomCentre)},
        {C::OptBatchTextPos4, K::Option, In(C::BoxBatchText), {55, 100, 180, 15}, Key(kTextTopLeft)},
        {C::OptBatchTextPos5, K::Option, In(C::BoxBatchText), {55, 115, 180, 15}, Key(kTextTopRight)},
        {C::OptBatchTextPos6, K::Option, In(C::BoxBatchText), {55, 130, 180, 15}, Key(kTextBottomLeft)},
        {C::OptBatchTextPos7, K::Option, In(C::BoxBatchText), {55, 145, 180, 15}, Key(kTextBottomRight)},
        {C::BoxBatchLogo, K::Container, BatchMark(1), {5, 5, 305, 185}, {}, kFlagBorder},
        {C::LblBatchLogoFile, K::Label, In(C::BoxBatchLogo), {5, 5, 70, 20}, Key(kTextLogoFile)},
        {C::TxtBatchLogoFile, K::TextField, In(C::BoxBatchLogo), {70, 4, 140, 20}, {}, kFlagReadOnly},
        {C::BtnBatchLogoFile, K::Button, In(C::BoxBatchLogo), {215, 4, 20, 20}, Literal("...")},
        {C::LblBatchAlpha, K::Label, In(C::BoxBatchLogo), {7, 35, 140, 15}, Key(kTextTransparency)},
        {C::TrkBatchAlpha, K::TrackBar, In(C::BoxBatchLogo), {130, 35, 100, 15}, {}, 0, 0, 255},
        {C::LblBatchAlphaMax, K::Label, In(C::BoxBatchLogo), {232, 35, 100, 15}, KeyOfStart(kTextTransparencyMax)},
        {C::LblBatchLogoPos, K::Label, In(C::BoxBatchLogo), {55, 55, 200, 20}, Key(kTextPosition)},
        {C::OptBatchLogoPos1, K::Option, In(C::BoxBatchLogo), {55, 75, 150, 15}, Key(kTextCentre)},
        {C::OptBatchLogoPos2, K::Option, In(C::BoxBatchLogo), {55, 90, 190, 15}, Key(kTextTopCentre)},
        {C::OptBatchLogoPos3, K::Option, In(C::BoxBatchLogo), {55, 105, 190, 15}, Key(kTextBottomCentre)},
        {C::OptBatchLogoPos4, K::Option, In(C::BoxBatchLogo), {55, 120, 180, 15}, Key(kTextTopLeft)},
        {C::OptBatchLogoPos5, K::Option, In(C::BoxBatchLogo), {55, 135, 180, 15}, Key(kTextTopRight)},
        {C::OptBatchLogoPos6, K::Option, In(C::BoxBatchLogo), {55, 150, 180, 15}, Key(kTextBottomLeft)},
        {C::OptBatchLogoPos7, K::Option, In(C::BoxBatchLogo), {55, 165, 180, 15}, Key(kTextBottomRight)},
        {C::BoxBatchFrame, K::Container, BatchMark(2), {5, 5, 305, 185}, {}, kFlagBorder},

        // Tab 2: settings
        {C::FrmSetup, K::Frame, Tab(2), {20, 20, 575, 490}},
        {C::BoxPictureName, K::Container, Tab(2), {87, 150, 400, 40}, {}, kFlagBorder},
        {C::LblPictureName, K::Label, In(C::BoxPictureName), {10, 10, 200, 15}, Key(kTextPictureName)},
        {C::TxtPictureName, K::TextField, In(C::BoxPictureName), {210, 8, 180, 20}},
        {C::BoxDefaultDir, K::Container, Tab(2), {87, 220, 400, 40}, {}, kFlagBorder},
        {C::LblDefaultDir, K::Label, In(C::BoxDefaultDir), {10, 10, 200, 15}, Key(kTextDefaultDir)},
        {C::TxtDefaultDir, K::TextField, In(C::BoxDefaultDir), {135, 8, 150, 20}, {}, kFlagReadOnly},
        {C::BtnDefaultDir, K::Button, In(C::BoxDefaultDir), {295, 8, 100, 20}, Key(kTextBrowse)},
        {C::BoxSaveSettings, K::Container, Tab(2), {87, 290, 400, 40}, {}, kFlagBorder},
        {C::BtnSaveSettings, K::Button, In(C::BoxSaveSettings), {75, 10, 250, 20}, Key(kTextSaveSettings)},

        // Tab 3: information
        {C::FrmInfo, K::Frame, Tab(3), {20, 20, 575, 490}},
        {C::TxtInfo, K::TextField, Tab(3), {157, 200, 300, 100}, kInfoText, kFlagMultiLine | kFlagCentred | kFlagReadOnly},
        {C::BtnWebsite, K::Button, Tab(3), {232, 320, 150, 20}, kWebsiteText},
    };
    return rows;
}

constexpr InitialState kInitialStates[] = {
    {C::OptModeText, 1},
    {C::OptTextPos1, 1},
    {C::OptLogoPos1, 1},
    {C::OptBatchTextPos1, 1},
    {C::OptBatchLogoPos1, 1},
    {C::CmbFrameKind, 0},
    {C::SpinTexWidth, 16, "16"},
    {C::SpinCircleWidth, 16, "16"},
    {C::SpinCircleRadius, 10, "10"},
    {C::SpinCircleGap, 3, "3"},
    {C::OptSides4, 1},
    {C::ChkCircleFilled, 1},
};

constexpr platform::ControlId kHidden[] = {C::BoxTexture, C::BoxCircles, C::BoxSpare1, C::BoxSpare2};
constexpr platform::ControlId kGreyButtons[] = {C::BtnCircleUpdate, C::BtnTexUpdate, C::BtnOpen, C::BtnSave,
                                                C::BtnFont, C::BtnApplyText, C::BtnCircleColour};

}  // namespace

std::span<const LayoutRow> MainWindowLayout() { return Rows(); }
std::span<const InitialState> InitialStates() { return kInitialStates; }
std::span<const platform::ControlId> HiddenAfterBuild() { return kHidden; }
std::span<const platform::ControlId> GreyButtons() { return kGreyButtons; }

}  // namespace velinor::app
