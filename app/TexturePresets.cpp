#include "app/TexturePresets.h"

#include <string>

namespace velinor::app {

namespace {

using platform::ControlId;

struct CategoryWidth {
    const char* category;
    int width;
};

constexpr CategoryWidth kCategoryWidths[] = {
    {"Wasser16x16", 16}, {"Holz16x16", 16}, {"Holz128x128", 128}, {"Wasser128x128", 128}, {"Holz64x64", 64},
};

}  // namespace

void SyncTextureWidth(ProgramState& state) {
    for (const CategoryWidth& entry : kCategoryWidths) {
        if (state.shell.SelectedTexture == entry.category) {
            state.platform.SetState(ControlId::SpinTexWidth, entry.width);
            state.platform.SetText(ControlId::SpinTexWidth, std::to_string(entry.width));
            return;
        }
    }
}

}  // namespace velinor::app
