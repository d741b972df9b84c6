#include "app/Dispatch.h"

#include "app/Handlers.h"

namespace velinor::app {

namespace {

using C = platform::ControlId;
namespace h = handlers;

constexpr DispatchEntry kDispatch[] = {
    {C::BtnOpen, h::OpenPicture},
    {C::CmbExplorer, h::ShowComboFolderInExplorer},
    {C::LstExplorer, h::ShowExplorerFolderInCombo},
    {C::BtnCircleColour, h::ChooseCircleColour},
    {C::BtnCircleUpdate, h::DrawCircleFrame},
    {C::BtnTexUpdate, h::DrawTextureFrame},
    {C::SpinTexWidth, h::EchoSpinValue},
    {C::SpinCircleWidth, h::EchoSpinValue},
    {C::SpinCircleRadius, h::EchoSpinValue},
    {C::SpinCircleGap, h::EchoSpinValue},
    {C::BtnAddSelected, h::AddSelectedFiles},
    {C::BtnAddAll, h::AddAllFiles},
    {C::BtnWebsite, h::OpenWebsite},
    {C::BtnDefaultDir, h::ChooseDefaultDir},
    {C::BtnSaveSettings, h::SaveSettings},
    {C::BtnSort, h::SortBatchList},
    {C::BtnRemove, h::RemoveBatchEntry},
    {C::BtnClear, h::ClearBatchList},
    {C::BtnSave, h::SaveResult},
    {C::ImgSource, h::DoNothing},
    {C::ImgPreview, h::ShowResultFullSize},
    {C::TrkLogoAlpha, h::RedrawLogoAlpha},
    {C::OptLogoPos1, h::DrawLogoAtPosition},
    {C::OptLogoPos2, h::DrawLogoAtPosition},
    {C::OptLogoPos3, h::DrawLogoAtPosition},
    {C::OptLogoPos4, h::DrawLogoAtPosition},
    {C::OptLogoPos5, h::DrawLogoAtPosition},
    {C::OptLogoPos6, h::DrawLogoAtPosition},
    {C::OptLogoPos7, h::DrawLogoAtPosition},
    {C::BtnLogoFile, h::ChooseLogoFile},
    {C::BtnBatchFont, h::ChooseBatchFont},
    {C::BtnBatchStart, h::RunBatch},
    {C::BtnMoveDown, h::MoveBatchEntryDown},
    {C::BtnMoveUp, h::MoveBatchEntryUp},
    {C::BtnApplyText, h::ApplyTextMark},
    {C::BtnBatchLogoFile, h::ChooseBatchLogoFile},
    {C::BtnOutputDir, h::ChooseOutputFolder},
    {C::BtnFont, h::ChooseMarkFont},
};

}  // namespace

std::span<const DispatchEntry> DispatchTable() { return kDispatch; }

void DispatchControlEvent(ProgramState& state, platform::ControlId control) {
    for (const DispatchEntry& entry : kDispatch) {
        if (entry.control == control) {
            entry.handler(state, control);
            return;
        }
    }
}

}  // namespace velinor::app
