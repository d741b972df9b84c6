#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/ControlId.h"

namespace velinor::platform {

// The code name of each control ("BtnOpen"); scripts address controls by it and logs print it.
std::optional<ControlId> ControlIdFromName(std::string_view name);
// The code name, or the number in decimal for a control the table does not know.
std::string ControlIdName(ControlId id);

// Toolbar items by name ("TbGerman") or number.
std::optional<ToolbarItem> ToolbarItemFromName(std::string_view name);
std::string ToolbarItemName(ToolbarItem item);

}  // namespace velinor::platform
