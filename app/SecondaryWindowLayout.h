#pragma once

#include "app/LayoutBuilder.h"

// The layout tables of the three secondary windows, all owned by the main window.
namespace velinor::app {

// The batch run's window: its log and the cancel button, at the main window's position, with a
// title bar that has no system menu.
const WindowLayout& ProgressWindowLayout();

// The JPEG quality window: a track bar 0..10 between two labels, an OK button and the value
// with the JPEG quality it gives; centred.
const WindowLayout& QualityWindowLayout();
// The same, wider and taller, with a choice below them to keep the JPEG's own quality (offered
// when a JPEG is written as a JPEG); the other controls keep their places.
const WindowLayout& QualityKeepWindowLayout();

// The colour picker: one 300 x 300 image control showing the picker's picture; centred.
inline constexpr int kPickerSide = 300;
const WindowLayout& PickerWindowLayout();

}  // namespace velinor::app
