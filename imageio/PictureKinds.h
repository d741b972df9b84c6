#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Every picture file extension the program knows, in one table: the kind of picture it names,
// which requester patterns show it, and which file choices take it. Each use compares the
// extension exactly, case included, so each spelling is a row of its own.
namespace velinor::imageio {

// In the order the requester patterns list them.
enum class PictureKind { Jpeg, Bmp, Png, Gif, Tga, Ico, Pcx };

// What a spelling counts for; a row holds any combination.
enum ExtensionUse : unsigned {
    kOpenMask = 1u << 0,           // "*.ext" in the open requester's pattern
    kSaveMask = 1u << 1,           // "*.ext" in the save requester's pattern
    kLogoMask = 1u << 2,           // "*.ext" in the logo requester's pattern
    kLogoMaskUndotted = 1u << 3,   // "*ext" in the logo requester's pattern
    kBatchLogoMask = 1u << 4,      // "*.ext" in the batch logo requester's pattern
    kExplorerMask = 1u << 5,       // "*.ext" in the filter of the batch tab's file list
    kBatchAdd = 1u << 6,           // the batch list's add buttons take the file
    kFolderStart = 1u << 7,        // a folder given at start puts the file on the batch list
    kTexture = 1u << 8,            // a texture tile
    kSaveKeeps = 1u << 9,          // a saved name already ending in it gets no extension added
    kLogoLibrary = 1u << 10,       // a logo decoded by its kind's external library, keyed
    kFormatName = 1u << 11,        // a format name of velinor-cli (compared in lower case)
};

struct PictureExtension {
    const char* extension;
    PictureKind kind;
    unsigned uses;
};

struct PictureKindInfo {
    PictureKind kind;
    const char* label;      // the pattern's name for the kind ("Jpeg")
    const char* shortName;  // the logo requester's title lists kinds so ("Jpg")
    const char* suffix;     // appended to a name written in this kind; empty when none is
    std::optional<std::uint32_t> encoder;  // the writer's code; none for kinds not written
};

// The requesters and lists that show a file pattern.
enum class FilePattern { Open, Save, Logo, BatchLogo, Explorer };

const PictureKindInfo& KindInfo(PictureKind kind);

// The kind of the first row spelt exactly extension that counts for use.
std::optional<PictureKind> KindFor(std::string_view extension, unsigned use);
bool CountsFor(std::string_view extension, unsigned use);

// The pattern as the requester or list gets it: "Label|*.a;*.b|Label|..." for the kinds
// that have masks in it, in kind order; the file list's filter is its masks alone ("*.a;*.b").
const std::string& PatternText(FilePattern pattern);

// The kind of the index-th "Label|masks" pair of pattern; none outside the pattern.
std::optional<PictureKind> PatternKind(FilePattern pattern, int index);

// The short names of the kinds in pattern, separated by commas ("Jpg,Bmp,Png").
std::string PatternKindNames(FilePattern pattern);

}  // namespace velinor::imageio
