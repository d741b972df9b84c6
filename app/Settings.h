#pragma once

#include "app/ProgramState.h"

namespace velinor::app {

// The settings file is files::Current().settingsFile: Settings.ini in a runtime folder, the
// user's ~/.config/velinor/Settings.ini for an installed program. The save button and the
// language switch both use it; ResolveFileName finds an existing file whatever the case of its name.

// Reads DefaultDir, PictureName, Language and Metadata (keep, strip-gps or strip: what saved
// pictures carry); the defaults when the file cannot be read.
void ReadSettings(ProgramState& state);

// Toolbar handler: item TbGerman or TbEnglish. Relabels the window and rewrites the settings
// file with the new language; the Language of this run stays as it was read at start.
void SwitchLanguage(ProgramState& state, platform::ToolbarItem item);

// The language the window shows: the one whose flag is pressed, else the Language read at
// start. Windows and messages opened later load their texts in it, so that a switched window
// does not fall back to the language of the start.
std::string ShownLanguage(const ProgramState& state);

// BtnDefaultDir: asks for a folder that the next BtnSaveSettings stores.
void ChooseDefaultDir(ProgramState& state);

// BtnSaveSettings: stores the picture name and the folder chosen in this run. The language is
// not stored, so the next start is German.
void SaveSettings(ProgramState& state);

}  // namespace velinor::app
