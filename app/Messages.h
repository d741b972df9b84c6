#pragma once

#include "app/ProgramState.h"

namespace velinor::app {

// Message boxes whose caption and text are interface texts.
inline constexpr int kWarningCaption = 75;
inline constexpr int kInformationCaption = 81;

void ShowWarning(ProgramState& state, int captionKey, int textKey);
void ShowInformation(ProgramState& state, int captionKey, int textKey);

}  // namespace velinor::app
