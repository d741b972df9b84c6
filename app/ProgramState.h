#pragma once

#include <string>
#include <vector>

#include "app/BatchState.h"
#include "app/KeyValueFile.h"
#include "app/PictureCache.h"
#include "app/TextTable.h"
#include "imageio/PictureMetadata.h"
#include "platform/Platform.h"
#include "render/Color.h"
#include "render/ImageRegistry.h"
#include "app/MarkState.h"

namespace velinor::app {

// What the shell remembers between events.
struct ShellState {
    std::string StartArg;         // first command-line parameter, surrounding quotes removed
    std::string DefaultDir;       // "verzeichnis" of the settings file
    std::string PictureName;      // "Bildname" of the settings file
    std::string Language = "German";
    std::string CurrentFile;      // full path of the picture being edited
    imageio::PictureMetadata CurrentMetadata;  // what CurrentFile carried when it was opened
    imageio::MetadataPolicy Metadata = imageio::MetadataPolicy::Keep;  // "Metadata" of the settings file
    bool PictureLoaded = false;
    int JpegQuality = 4;          // last value chosen in the quality window
    bool KeepJpegQuality = false; // its choice to keep a JPEG's own quality, when it was offered
    std::string SaveFileName;     // the last name given to Save, with the extension it gained

    // The last event the loop read.
    int EventCode = 0;
    int EventWindow = 0;
    platform::ControlId EventControl = platform::ControlId::None;
    int EventKind = 0;

    std::string SelectedTexture;  // text of the entry selected in TreeTextures
    bool TextFontChosen = false;
    bool BatchFontChosen = false;

    // A default folder chosen with BtnDefaultDir in this run; written by BtnSaveSettings.
    std::string chosenDefaultDir;
    // Where the main window was placed; secondary windows open there.
    platform::Point windowPosition;
    // True on the systems where the main window fades in and out (NT 5.0, 5.1, 5.2).
    bool fading = false;
};

// The start argument's folder scan and the batch-tab thumbnails.
struct StartState {
    bool FolderMode = false;              // the start argument was a folder
    std::string ScanRoot;                 // that folder
    std::vector<std::string> ScanFiles;   // full paths of every file found under it
    int PreviewWidth = 0, PreviewHeight = 0;  // size of the start argument's preview
    float AspectRatio = 0.0f;             // width / height of the start argument's picture
    std::string ThumbFile;                // the file last named for a thumbnail
};

// The circle frame's colour, kept from one drawing to the next.
struct FrameState {
    render::Color CircleFrameColor = render::kLightGrey;
};

// The whole program's state: one instance per running program. What is process-wide by
// nature (the fault catcher, the decoders' limits) lives with its own code.
struct ProgramState {
    ProgramState(platform::Platform& p, std::vector<std::string> args)
        : platform(p), arguments(std::move(args)) {}

    platform::Platform& platform;
    std::vector<std::string> arguments;
    ShellState shell;
    FrameState frame;
    StartState start;
    BatchState batch;
    render::ImageRegistry images;
    MarkState marks;
    TextTable texts;
    KeyValueFile prefs;   // the one open key-value file
    PictureCache pictureCache;  // the picture being edited, decoded once for every render
};

}  // namespace velinor::app
