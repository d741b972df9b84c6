#include "app/Messages.h"

namespace velinor::app {

void ShowWarning(ProgramState& state, TextKey captionKey, TextKey textKey) {
    state.platform.MessageBox(state.texts[captionKey], state.texts[textKey], platform::MessageIcon::Warning,
                              platform::MessageButtons::Ok);
}

void ShowInformation(ProgramState& state, TextKey captionKey, TextKey textKey) {
    state.platform.MessageBox(state.texts[captionKey], state.texts[textKey], platform::MessageIcon::Information,
                              platform::MessageButtons::Ok);
}

}  // namespace velinor::app
