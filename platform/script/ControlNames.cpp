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
#define VELINOR_CONTROL(name, number) {ControlId::name, #name},
#include "platform/ControlIds.def"
#undef VELINOR_CONTROL
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
