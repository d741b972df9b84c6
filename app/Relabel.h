#pragma once

#include <span>
#include <string>

#include "app/ProgramState.h"

namespace velinor::app {

// One text the language switch sets: a control's caption, a page name of a tab panel, an entry
// of a combo box or the column header of a report list.
struct RelabelEntry {
    platform::ControlId control;
    TextKey key;
    int item = -1;    // page, entry or column; -1 for the control's own text
    platform::ControlKind kind = platform::ControlKind::Label;
};

// Every text that follows the language, in the order they are set: the layout's texts from the
// text table (MainWindowLayout), less those marked to stay in the language of the start.
std::span<const RelabelEntry> RelabelTable();

// The text of TxtInfo: a fixed heading, an empty line, then the three texts about the program.
std::string InfoText(const TextTable& texts);

// Loads texts 1..kLastKey of group ("german", "english") and sets every text of RelabelTable,
// TxtInfo and the width of BtnFont (German captions are longer).
void RelabelControls(ProgramState& state, const std::string& group);

}  // namespace velinor::app
