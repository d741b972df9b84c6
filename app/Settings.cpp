#include "app/Settings.h"

#include "app/BatchOutputNames.h"
#include "app/MarkControls.h"
#include "app/Messages.h"
#include "app/Relabel.h"
#include "app/TextKeys.h"
#include "files/ProgramFiles.h"
#include "stamping/PresetEntries.h"

#include <string>
#include <utility>
#include <vector>

namespace velinor::app {

namespace {

const std::string& SettingsFile() { return files::Current().settingsFile; }

// Keys of the settings file that no control of the window writes: both writers of the file
// (saving the settings, switching the language) create it anew, so they carry these over from
// the file they replace. Losing "Metadata" would silently turn "strip" back into "keep" and
// put a photographer's GPS position into every picture written afterwards.
constexpr const char* kCarriedKeys[] = {"Metadata"};

using CarriedValues = std::vector<std::pair<std::string, std::string>>;

// The carried keys present in the open settings file, read before it is replaced.
CarriedValues ReadCarriedKeys(const KeyValueFile& prefs) {
    CarriedValues values;
    for (const char* key : kCarriedKeys) {
        // A key that is missing reads as the fallback, which no stored value can be.
        const std::string value = prefs.ReadString(key, std::string(1, '\n'));
        if (value != "\n") values.emplace_back(key, value);
    }
    return values;
}

// The user's settings folder of an installed program is made on the first save, not before.
// The keys carried over are read from the old file first and written first into the new one.
bool CreateSettingsFile(ProgramState& state) {
    CarriedValues carried;
    if (state.prefs.OpenForRead(SettingsFile())) carried = ReadCarriedKeys(state.prefs);
    state.prefs.ClosePrefs();
    if (!files::MakeSettingsFolder() || !state.prefs.CreateForWrite(SettingsFile())) return false;
    bool written = true;
    for (const auto& [key, value] : carried) written = state.prefs.WriteString(key, value) && written;
    return written;
}

// The preset sits beside the settings file.
std::string PresetFile() {
    const std::string& settings = SettingsFile();
    if (settings.empty()) return {};
    const std::size_t slash = settings.rfind('/');
    return (slash == std::string::npos ? std::string() : settings.substr(0, slash + 1)) + stamping::kPresetFile;
}

// The window's current marks as a preset for velinor-cli stamp --preset, beside the settings.
// False when the file could not be written whole (an old preset is then left as it was).
bool WritePreset(ProgramState& state) {
    if (PresetFile().empty()) return false;
    const auto entries = stamping::PresetEntries(WindowMarks(state));
    for (const auto& [key, value] : entries) {
        if (!KeyValueFile::Storable(key, value)) return false;
    }
    bool written = state.prefs.CreateForWrite(PresetFile()) && state.prefs.WriteGroup(stamping::kPresetGroup);
    for (const auto& [key, value] : entries) written = written && state.prefs.WriteString(key, value);
    return state.prefs.ClosePrefs() && written;
}

}  // namespace

void ReadSettings(ProgramState& state) {
    ShellState& shell = state.shell;
    shell.DefaultDir.clear();
    shell.PictureName.clear();
    shell.Language = "German";
    shell.Metadata = imageio::MetadataPolicy::Keep;
    if (!state.prefs.OpenForRead(SettingsFile())) return;
    shell.DefaultDir = state.prefs.ReadString("verzeichnis", "");
    shell.PictureName = state.prefs.ReadString("Bildname", "");
    shell.Language = state.prefs.ReadString("Language", "German");
    shell.Metadata = imageio::MetadataPolicyNamed(state.prefs.ReadString("Metadata", "keep")).value_or(imageio::MetadataPolicy::Keep);
    state.prefs.ClosePrefs();
}

void SwitchLanguage(ProgramState& state, platform::ToolbarItem item) {
    using platform::ToolbarItem;
    if (item != ToolbarItem::TbGerman && item != ToolbarItem::TbEnglish) return;
    platform::Platform& p = state.platform;
    if (p.ToolbarPressed(item)) return;
    const bool english = item == ToolbarItem::TbEnglish;
    p.SetToolbarPressed(item, true);
    p.SetToolbarPressed(english ? ToolbarItem::TbGerman : ToolbarItem::TbEnglish, false);
    RelabelControls(state, english ? "english" : "german");

    std::string pictureName;
    std::string folder;
    if (state.prefs.OpenForRead(SettingsFile())) {
        pictureName = state.prefs.ReadString("Bildname", "");
        folder = state.prefs.ReadString("Verzeichnis", "");
    }
    state.prefs.ClosePrefs();
    // A file that cannot be created is silently left as it was.
    if (!CreateSettingsFile(state)) return;
    state.prefs.WriteString("Language", english ? "English" : "German");
    state.prefs.WriteString("Bildname", pictureName);
    state.prefs.WriteString("Verzeichnis", folder);
    state.prefs.ClosePrefs();
}

std::string ShownLanguage(const ProgramState& state) {
    using platform::ToolbarItem;
    if (state.platform.ToolbarPressed(ToolbarItem::TbEnglish)) return "English";
    if (state.platform.ToolbarPressed(ToolbarItem::TbGerman)) return "German";
    return state.shell.Language;
}

void ChooseDefaultDir(ProgramState& state) {
    // "/" is the root every Linux file system has, as "c:/" is on Windows.
    state.shell.chosenDefaultDir = state.platform.FolderRequester(state.texts[kTextChooseDefaultDir], "/");
    state.platform.SetText(platform::ControlId::TxtDefaultDir, state.shell.chosenDefaultDir);
}

void SaveSettings(ProgramState& state) {
    ShellState& shell = state.shell;
    shell.PictureName = state.platform.GetText(platform::ControlId::TxtPictureName);
    if (shell.PictureName.empty()) {
        ShowWarning(state, kTextWarning, kTextPictureNameMissing);
        return;
    }
    if (!PlainPictureName(shell.PictureName)) {
        ShowWarning(state, kTextWarning, kTextBadPictureName);
        return;
    }
    // Checked before the file is replaced: a value the file cannot hold must not cost the
    // settings already stored.
    if (!KeyValueFile::Storable("Bildname", shell.PictureName) ||
        !KeyValueFile::Storable("Verzeichnis", shell.chosenDefaultDir)) {
        ShowWarning(state, kTextWarning, kTextUnstorable);
        return;
    }
    bool written = CreateSettingsFile(state);
    if (written) {
        written = state.prefs.WriteString("Bildname", shell.PictureName);
        if (!shell.chosenDefaultDir.empty()) {
            written = state.prefs.WriteString("Verzeichnis", shell.chosenDefaultDir) && written;
        }
    }
    // A failed write is a failure too, not only a file that could not be created.
    written = state.prefs.ClosePrefs() && written;
    // The marks go beside the settings, so that what the window shows can be stamped from the
    // command line (velinor-cli stamp --preset Stamp.ini). The message is about the settings: a
    // mark the preset cannot hold (a character outside the file's code page) leaves no preset.
    if (written) WritePreset(state);
    if (written) {
        ShowInformation(state, kTextInformation, kTextSettingsWritten);
    } else {
        ShowWarning(state, kTextWarning, kTextSettingsNotWritten);
    }
}

}  // namespace velinor::app
