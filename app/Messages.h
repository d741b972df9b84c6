#pragma once

#include "app/ProgramState.h"
#include "app/TextKeys.h"

namespace velinor::app {

// Message boxes whose caption and text are interface texts.
void ShowWarning(ProgramState& state, TextKey captionKey, TextKey textKey);
void ShowInformation(ProgramState& state, TextKey captionKey, TextKey textKey);

}  // namespace velinor::app
