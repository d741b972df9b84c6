#pragma once

#include <optional>

#include <QWidget>

#include "platform/Platform.h"

namespace velinor::platform::qt {

// The font requester: face, size, bold, italic, underline, strike-out and colour, with a
// preview. The face and size are preset from the request (the style never is); the colour
// starts black unless the request presets one. Nothing when the user cancels.
std::optional<FontAnswer> RunFontRequester(QWidget* owner, const FontRequest& request);

}  // namespace velinor::platform::qt
