#pragma once

#include "render/ImageRegistry.h"

namespace velinor::app {

// Draws the program's own small pictures into the registry: the status-bar picture (155),
// the German and English flags of the toolbar (159, 160), a spare icon (161), and the grey
// placeholder that the batch thumbnail shows before any picture (123).
void MakeStoredPictures(render::ImageRegistry& images);

}  // namespace velinor::app
