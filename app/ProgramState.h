#pragma once

#include <string>
#include <vector>

#include "app/BatchState.h"
#include "app/KeyValueFile.h"
#include "app/TextTable.h"
#include "platform/Platform.h"
#include "render/Color.h"
#include "render/ImageRegistry.h"

namespace velinor::app {

// What the shell remembers between events.
struct ShellState {
    std::string StartArg;         // first command-line parameter, surrounding quotes removed
    std::string DefaultDir;       // "verzeichnis" of the settings file
    std::string PictureName;      // "Bildname" of the settings file
    std::string Language = "German";
    std::string CurrentFile;      // full path of the picture being edited
    bool PictureLoaded = false;

    // The last event the loop read.
    int EventCode = 0;
    int EventWindow = 0;
    platform::ControlId EventControl = platform::ControlId::None;
    int EventKind = 0;

    std::string SelectedTexture;  // text of the entry selected in TreeTextures
    bool TextFontChosen = false;
    bool BatchFontChosen = false;

    // A default folder chosen with BtnDefaultDir in this run; written by BtnSaveSettings.
    std::string ChosenDefaultDir;
    // Where the main window was placed; secondary windows open there.
    platform::Point WindowPosition;
    // True on the systems where the main window fades in and out (NT 5.0, 5.1, 5.2).
    bool Fading = false;
};

// Settings of the frame effects kept by the shell until their handlers take them over.
struct FrameState {
    render::Color CircleFrameColor = render::kLightGrey;
};

// The whole program's state: one instance per running program, no globals.
struct ProgramState {
    ProgramState(platform::Platform& p, std::vector<std::string> args)
        : platform(p), arguments(std::move(args)) {}

    platform::Platform& platform;
    std::vector<std::string> arguments;
    ShellState shell;
    FrameState frame;
    BatchState batch;
    render::ImageRegistry images;
    TextTable texts;
    KeyValueFile prefs;   // the one open key-value file
};

}  // namespace velinor::app
