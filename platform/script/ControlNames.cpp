#include "platform/script/ControlNames.h"

#include <charconv>

namespace velinor::platform {
namespace {

struct NamedControl {
    ControlId id;
    std::string_view name;
};

// Every control of the program, so that scripts and logs can use the names the code uses.
constexpr NamedControl kControls[] = {
    {ControlId::PnlTabs, "PnlTabs"},
    {ControlId::FrmSource, "FrmSource"},
    {ControlId::BtnOpen, "BtnOpen"},
    {ControlId::FrmPreview, "FrmPreview"},
    {ControlId::BtnSave, "BtnSave"},
    {ControlId::BoxSource, "BoxSource"},
    {ControlId::BoxPreview, "BoxPreview"},
    {ControlId::FrmSettings, "FrmSettings"},
    {ControlId::FrmMode, "FrmMode"},
    {ControlId::OptModeText, "OptModeText"},
    {ControlId::OptModeLogo, "OptModeLogo"},
    {ControlId::OptModeFrame, "OptModeFrame"},
    {ControlId::BoxText, "BoxText"},
    {ControlId::BoxLogo, "BoxLogo"},
    {ControlId::BoxFrame, "BoxFrame"},
    {ControlId::BoxTexture, "BoxTexture"},
    {ControlId::BoxCircles, "BoxCircles"},
    {ControlId::BoxSpare1, "BoxSpare1"},
    {ControlId::BoxSpare2, "BoxSpare2"},
    {ControlId::BtnFont, "BtnFont"},
    {ControlId::LblText, "LblText"},
    {ControlId::TxtMark, "TxtMark"},
    {ControlId::LblTextPos, "LblTextPos"},
    {ControlId::OptTextPos1, "OptTextPos1"},
    {ControlId::OptTextPos2, "OptTextPos2"},
    {ControlId::OptTextPos3, "OptTextPos3"},
    {ControlId::OptTextPos4, "OptTextPos4"},
    {ControlId::OptTextPos5, "OptTextPos5"},
    {ControlId::OptTextPos6, "OptTextPos6"},
    {ControlId::OptTextPos7, "OptTextPos7"},
    {ControlId::LblLogoPos, "LblLogoPos"},
    {ControlId::OptLogoPos1, "OptLogoPos1"},
    {ControlId::OptLogoPos2, "OptLogoPos2"},
    {ControlId::OptLogoPos3, "OptLogoPos3"},
    {ControlId::OptLogoPos4, "OptLogoPos4"},
    {ControlId::OptLogoPos5, "OptLogoPos5"},
    {ControlId::OptLogoPos6, "OptLogoPos6"},
    {ControlId::OptLogoPos7, "OptLogoPos7"},
    {ControlId::ImgSource, "ImgSource"},
    {ControlId::ImgPreview, "ImgPreview"},
    {ControlId::BtnApplyText, "BtnApplyText"},
    {ControlId::LblLogoFile, "LblLogoFile"},
    {ControlId::TxtLogoFile, "TxtLogoFile"},
    {ControlId::BtnLogoFile, "BtnLogoFile"},
    {ControlId::LblLogoAlpha, "LblLogoAlpha"},
    {ControlId::LblLogoAlphaMax, "LblLogoAlphaMax"},
    {ControlId::TrkLogoAlpha, "TrkLogoAlpha"},
    {ControlId::CmbFrameKind, "CmbFrameKind"},
    {ControlId::TreeTextures, "TreeTextures"},
    {ControlId::SpinTexWidth, "SpinTexWidth"},
    {ControlId::LblTexWidth, "LblTexWidth"},
    {ControlId::BtnTexUpdate, "BtnTexUpdate"},
    {ControlId::TrkTexAlpha, "TrkTexAlpha"},
    {ControlId::LblTexAlpha, "LblTexAlpha"},
    {ControlId::LblTexAlphaMax, "LblTexAlphaMax"},
    {ControlId::SpinCircleWidth, "SpinCircleWidth"},
    {ControlId::LblCircleWidth, "LblCircleWidth"},
    {ControlId::LblCircleRadius, "LblCircleRadius"},
    {ControlId::SpinCircleRadius, "SpinCircleRadius"},
    {ControlId::LblCircleGap, "LblCircleGap"},
    {ControlId::SpinCircleGap, "SpinCircleGap"},
    {ControlId::OptSides2, "OptSides2"},
    {ControlId::OptSides4, "OptSides4"},
    {ControlId::ChkCircleFilled, "ChkCircleFilled"},
    {ControlId::BtnCircleColour, "BtnCircleColour"},
    {ControlId::LblCircleColour, "LblCircleColour"},
    {ControlId::LblCircleAlpha, "LblCircleAlpha"},
    {ControlId::LblCircleAlphaMax, "LblCircleAlphaMax"},
    {ControlId::TrkCircleAlpha, "TrkCircleAlpha"},
    {ControlId::BtnCircleUpdate, "BtnCircleUpdate"},
    {ControlId::LstBatch, "LstBatch"},
    {ControlId::CmbExplorer, "CmbExplorer"},
    {ControlId::LstExplorer, "LstExplorer"},
    {ControlId::BtnBatchStart, "BtnBatchStart"},
    {ControlId::BtnAddSelected, "BtnAddSelected"},
    {ControlId::BtnAddAll, "BtnAddAll"},
    {ControlId::BtnRemove, "BtnRemove"},
    {ControlId::BtnClear, "BtnClear"},
    {ControlId::BtnSort, "BtnSort"},
    {ControlId::BtnMoveUp, "BtnMoveUp"},
    {ControlId::BtnMoveDown, "BtnMoveDown"},
    {ControlId::BoxThumb, "BoxThumb"},
    {ControlId::ChkThumb, "ChkThumb"},
    {ControlId::FrmOutput, "FrmOutput"},
    {ControlId::TxtOutputDir, "TxtOutputDir"},
    {ControlId::BtnOutputDir, "BtnOutputDir"},
    {ControlId::ChkKeepNames, "ChkKeepNames"},
    {ControlId::PnlBatchMark, "PnlBatchMark"},
    {ControlId::BoxBatchText, "BoxBatchText"},
    {ControlId::BoxBatchLogo, "BoxBatchLogo"},
    {ControlId::BoxBatchFrame, "BoxBatchFrame"},
    {ControlId::LblBatchTextPos, "LblBatchTextPos"},
    {ControlId::OptBatchTextPos1, "OptBatchTextPos1"},
    {ControlId::OptBatchTextPos2, "OptBatchTextPos2"},
    {ControlId::OptBatchTextPos3, "OptBatchTextPos3"},
    {ControlId::OptBatchTextPos4, "OptBatchTextPos4"},
    {ControlId::OptBatchTextPos5, "OptBatchTextPos5"},
    {ControlId::OptBatchTextPos6, "OptBatchTextPos6"},
    {ControlId::OptBatchTextPos7, "OptBatchTextPos7"},
    {ControlId::LblBatchLogoPos, "LblBatchLogoPos"},
    {ControlId::OptBatchLogoPos1, "OptBatchLogoPos1"},
    {ControlId::OptBatchLogoPos2, "OptBatchLogoPos2"},
    {ControlId::OptBatchLogoPos3, "OptBatchLogoPos3"},
    {ControlId::OptBatchLogoPos4, "OptBatchLogoPos4"},
    {ControlId::OptBatchLogoPos5, "OptBatchLogoPos5"},
    {ControlId::OptBatchLogoPos6, "OptBatchLogoPos6"},
    {ControlId::OptBatchLogoPos7, "OptBatchLogoPos7"},
    {ControlId::LblBatchText, "LblBatchText"},
    {ControlId::TxtBatchMark, "TxtBatchMark"},
    {ControlId::BtnBatchLogoFile, "BtnBatchLogoFile"},
    {ControlId::LblBatchLogoFile, "LblBatchLogoFile"},
    {ControlId::TxtBatchLogoFile, "TxtBatchLogoFile"},
    {ControlId::BtnBatchFont, "BtnBatchFont"},
    {ControlId::ImgThumb, "ImgThumb"},
    {ControlId::LblBatchAlpha, "LblBatchAlpha"},
    {ControlId::TrkBatchAlpha, "TrkBatchAlpha"},
    {ControlId::LblBatchAlphaMax, "LblBatchAlphaMax"},
    {ControlId::FrmSetup, "FrmSetup"},
    {ControlId::FrmInfo, "FrmInfo"},
    {ControlId::BoxPictureName, "BoxPictureName"},
    {ControlId::LblPictureName, "LblPictureName"},
    {ControlId::TxtPictureName, "TxtPictureName"},
    {ControlId::TxtDefaultDir, "TxtDefaultDir"},
    {ControlId::BoxDefaultDir, "BoxDefaultDir"},
    {ControlId::LblDefaultDir, "LblDefaultDir"},
    {ControlId::BoxSaveSettings, "BoxSaveSettings"},
    {ControlId::BtnSaveSettings, "BtnSaveSettings"},
    {ControlId::BtnDefaultDir, "BtnDefaultDir"},
    {ControlId::TxtInfo, "TxtInfo"},
    {ControlId::BtnWebsite, "BtnWebsite"},
    {ControlId::TxtBatchLog, "TxtBatchLog"},
    {ControlId::LblQuality, "LblQuality"},
    {ControlId::LblQualityLow, "LblQualityLow"},
    {ControlId::LblQualityHigh, "LblQualityHigh"},
    {ControlId::TrkQuality, "TrkQuality"},
    {ControlId::BtnQualityOk, "BtnQualityOk"},
    {ControlId::BtnBatchCancel, "BtnBatchCancel"},
    {ControlId::ImgPicker, "ImgPicker"},
};

}  // namespace

std::optional<ControlId> ControlIdFromName(std::string_view name) {
    for (const auto& entry : kControls) {
        if (entry.name == name) return entry.id;
    }
    return std::nullopt;
}

std::string ControlIdName(ControlId id) {
    for (const auto& entry : kControls) {
        if (entry.id == id) return std::string(entry.name);
    }
    return std::to_string(static_cast<int>(id));
}

std::optional<ToolbarItem> ToolbarItemFromName(std::string_view name) {
    if (name == "TbGerman") return ToolbarItem::TbGerman;
    if (name == "TbEnglish") return ToolbarItem::TbEnglish;
    int number = 0;
    auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
    if (error != std::errc() || end != name.data() + name.size() || number <= 0) return std::nullopt;
    return static_cast<ToolbarItem>(number);
}

std::string ToolbarItemName(ToolbarItem item) {
    switch (item) {
    case ToolbarItem::TbGerman: return "TbGerman";
    case ToolbarItem::TbEnglish: return "TbEnglish";
    default: return std::to_string(static_cast<int>(item));
    }
}

}  // namespace velinor::platform
