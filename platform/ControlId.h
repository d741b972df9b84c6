#pragma once

// The fixed number of every control. Handlers, the layout table and both platform backends
// address controls only by these numbers; they are part of the program's contract.
namespace velinor::platform {

enum class ControlId : int {
    None = 0,
#define VELINOR_CONTROL(name, number) name = number,
#include "platform/ControlIds.def"
#undef VELINOR_CONTROL
};

// Toolbar items and the status bar.
enum class ToolbarItem : int { None = 0, TbGerman = 156, TbEnglish = 157 };
constexpr int kToolbarNumber = 2;
constexpr int kStatusBarNumber = 66;

// Window numbers.
enum class WindowId : int { Main = 0, Progress = 3, Quality = 4, Picker = 5 };
constexpr int kMainWindow = static_cast<int>(WindowId::Main);
constexpr int kProgressWindow = static_cast<int>(WindowId::Progress);
constexpr int kQualityWindow = static_cast<int>(WindowId::Quality);
constexpr int kPickerWindow = static_cast<int>(WindowId::Picker);

}  // namespace velinor::platform
