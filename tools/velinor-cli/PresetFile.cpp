#include "tools/velinor-cli/PresetFile.h"

#include "app/KeyValueFile.h"

namespace velinor::tools {

namespace {

// Stands for a key the file does not hold: no value read from a file can be this.
constexpr const char* kAbsent = "\n";

}  // namespace

bool ReadPresetFile(const std::string& path, StampCommand& command, std::string& problem) {
    app::KeyValueFile file;
    if (!file.OpenForRead(path)) {
        problem = path + ": the preset cannot be read";
        return false;
    }
    if (!file.SelectGroup(kPresetGroup)) {
        problem = path + ": the preset has no [" + std::string(kPresetGroup) + "] group";
        return false;
    }
    for (const std::string& name : PresetOptionNames()) {
        const std::string value = file.ReadString(name, kAbsent);
        if (value == kAbsent) continue;
        std::string why;
        if (!ApplyStampOption(name, value, command, why)) {
            problem = path + ": " + name + " = " + value + ": " + why;
            return false;
        }
    }
    return true;
}

}  // namespace velinor::tools
