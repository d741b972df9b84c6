#pragma once

#include <string>

namespace velinor::files {

// Where the program's own files are in this run. Two layouts:
//
// - a runtime folder: the current folder holds lang.prf. lang.prf, Settings.ini and the
//   picture libraries in data/ are read there, texturen/ beside the program file (the build's
//   build/velinor/ is one);
// - an installed tree (a package under /usr, or the same tree copied anywhere): the data is
//   found from the program file's own folder PREFIX/bin/, lang.prf and texturen/ in
//   PREFIX/share/velinor/, the picture libraries in PREFIX/lib/velinor/, and Settings.ini is the
//   user's, in $XDG_CONFIG_HOME/velinor/ (~/.config/velinor/ when that is not set).
struct ProgramFiles {
    bool installed = false;
    std::string languageFile = "lang.prf";
    std::string settingsFile = "Settings.ini";  // empty when the user has no home folder to keep it in
    std::string settingsFolder;                 // made before the first save; empty in a runtime folder
    std::string libraryFolder = "data/";        // the picture libraries; ends with '/'
    std::string textureFolder = "texturen/";    // the tile categories; ends with '/'
    std::string dataFolder;                     // installed: where lang.prf and texturen/ are; ends with '/'
};

// What the layout rule looks at, so that it can be worked out for any folder and environment.
struct Surroundings {
    std::string programFolder;      // the folder of the program file, ends with '/' (may be empty)
    bool runtimeFolder = false;     // the current folder holds lang.prf
    std::string xdgConfigHome;      // $XDG_CONFIG_HOME
    std::string home;               // $HOME, or the user's home folder from the password database
};

ProgramFiles LayoutFor(const Surroundings& surroundings);

// The surroundings of this process: the current folder, the environment, programFolder as given.
Surroundings ThisProcess(const std::string& programFolder);

// The folder of the running program file, with a trailing '/'; "./" when it cannot be read.
std::string OwnFolder();

// The layout every part of the program asks for its files. Until a program settles it at start
// with Use, it is the runtime folder with texturen/ in the current folder.
const ProgramFiles& Current();
void Use(ProgramFiles files);

// The path of a picture library by its file name ("image323.so").
std::string LibraryPath(const std::string& name);

// The library folder as a user reads it in a message: "./data/" for the runtime folder's.
std::string ShownLibraryFolder();

// Makes the settings folder (and any missing parent) with mode 0700 as the XDG rules ask,
// before the settings are written. True when it is there afterwards, or none is needed.
bool MakeSettingsFolder();

}  // namespace velinor::files
