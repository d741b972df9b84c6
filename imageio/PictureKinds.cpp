#include "imageio/PictureKinds.h"

#include <array>
#include <vector>

#include "imageio/Writer.h"

namespace velinor::imageio {

namespace {

using K = PictureKind;

// The picture patterns of the main window's requesters.
constexpr unsigned kPictureMasks = kOpenMask | kSaveMask | kLogoMask | kBatchLogoMask;
constexpr unsigned kLogoMasks = kLogoMask | kBatchLogoMask;

// Within a kind, the rows stand in the order their masks appear in the patterns.
constexpr PictureExtension kExtensions[] = {
    {"jpg", K::Jpeg, kPictureMasks | kExplorerMask | kBatchAdd | kFolderStart | kTexture | kSaveKeeps | kFormatName},
    {"JPG", K::Jpeg, kBatchAdd | kFolderStart | kSaveKeeps},
    {"jpeg", K::Jpeg, kPictureMasks | kBatchAdd | kFormatName},
    {"JPEG", K::Jpeg, kBatchAdd},
    {"Jpg", K::Jpeg, kPictureMasks},
    {"Jpeg", K::Jpeg, kExplorerMask | kSaveKeeps},

    {"bmp", K::Bmp, kPictureMasks | kExplorerMask | kBatchAdd | kFolderStart | kTexture | kSaveKeeps | kFormatName},
    {"Bmp", K::Bmp, kPictureMasks | kBatchAdd | kSaveKeeps},
    {"BMP", K::Bmp, kPictureMasks | kBatchAdd | kFolderStart | kSaveKeeps},

    {"png", K::Png, kPictureMasks | kExplorerMask | kBatchAdd | kFolderStart | kSaveKeeps | kFormatName},
    {"Png", K::Png, kPictureMasks | kBatchAdd | kSaveKeeps},
    {"PNG", K::Png, kPictureMasks | kBatchAdd | kFolderStart | kSaveKeeps},

    {"gif", K::Gif, kLogoMasks | kLogoLibrary},
    {"Gif", K::Gif, kBatchLogoMask},
    {"GIF", K::Gif, kLogoMasks | kLogoLibrary},

    // The logo requester's pattern writes the upper-case TGA mask without its dot.
    {"tga", K::Tga, kOpenMask | kLogoMasks | kFolderStart},
    {"TGA", K::Tga, kOpenMask | kLogoMaskUndotted | kBatchLogoMask | kFolderStart},

    {"ico", K::Ico, kLogoMasks | kLogoLibrary},
    {"ICO", K::Ico, kLogoMasks | kLogoLibrary},

    {"pcx", K::Pcx, kLogoMasks | kLogoLibrary},
    {"PCX", K::Pcx, kLogoMasks | kLogoLibrary},
};

// In PictureKind order.
constexpr PictureKindInfo kKinds[] = {
    {K::Jpeg, "Jpeg", "Jpg", ".jpg", kEncoderJpeg},
    {K::Bmp, "Bmp", "Bmp", ".bmp", kEncoderBmp},
    {K::Png, "Png", "Png", ".png", kEncoderPng},
    {K::Gif, "Gif", "Gif", "", std::nullopt},
    {K::Tga, "TGA", "TGA", "", std::nullopt},
    {K::Ico, "ICO", "ICO", "", std::nullopt},
    {K::Pcx, "PCX", "PCX", "", std::nullopt},
};

struct PatternRule {
    unsigned dotted;
    unsigned undotted;
    bool labelled;
};

constexpr PatternRule RuleOf(FilePattern pattern) {
    switch (pattern) {
        case FilePattern::Open: return {kOpenMask, 0, true};
        case FilePattern::Save: return {kSaveMask, 0, true};
        case FilePattern::Logo: return {kLogoMask, kLogoMaskUndotted, true};
        case FilePattern::BatchLogo: return {kBatchLogoMask, 0, true};
        case FilePattern::Explorer: return {kExplorerMask, 0, false};
    }
    return {};
}

// The masks of kind in pattern, joined with ';'; empty when the kind has none there.
std::string KindMasks(PictureKind kind, const PatternRule& rule) {
    std::string masks;
    for (const PictureExtension& row : kExtensions) {
        if (row.kind != kind) continue;
        const char* prefix = (row.uses & rule.dotted) != 0 ? "*." : (row.uses & rule.undotted) != 0 ? "*" : nullptr;
        if (prefix == nullptr) continue;
        if (!masks.empty()) masks += ';';
        masks += prefix;
        masks += row.extension;
    }
    return masks;
}

// The kinds that have masks in pattern, in kind order.
std::vector<PictureKind> KindsIn(FilePattern pattern) {
    std::vector<PictureKind> kinds;
    for (const PictureKindInfo& info : kKinds) {
        if (!KindMasks(info.kind, RuleOf(pattern)).empty()) kinds.push_back(info.kind);
    }
    return kinds;
}

std::string BuildPattern(FilePattern pattern) {
    const PatternRule rule = RuleOf(pattern);
    std::string text;
    for (const PictureKind kind : KindsIn(pattern)) {
        if (!text.empty()) text += rule.labelled ? '|' : ';';
        if (rule.labelled) text += std::string(KindInfo(kind).label) + '|';
        text += KindMasks(kind, rule);
    }
    return text;
}

}  // namespace

const PictureKindInfo& KindInfo(PictureKind kind) { return kKinds[static_cast<int>(kind)]; }

std::optional<PictureKind> KindFor(std::string_view extension, unsigned use) {
    for (const PictureExtension& row : kExtensions) {
        if ((row.uses & use) != 0 && extension == row.extension) return row.kind;
    }
    return std::nullopt;
}

bool CountsFor(std::string_view extension, unsigned use) { return KindFor(extension, use).has_value(); }

const std::string& PatternText(FilePattern pattern) {
    static const std::array<std::string, 5> texts = {
        BuildPattern(FilePattern::Open), BuildPattern(FilePattern::Save), BuildPattern(FilePattern::Logo),
        BuildPattern(FilePattern::BatchLogo), BuildPattern(FilePattern::Explorer),
    };
    return texts[static_cast<int>(pattern)];
}

std::optional<PictureKind> PatternKind(FilePattern pattern, int index) {
    const std::vector<PictureKind> kinds = KindsIn(pattern);
    if (index < 0 || index >= static_cast<int>(kinds.size())) return std::nullopt;
    return kinds[static_cast<std::size_t>(index)];
}

std::string PatternKindNames(FilePattern pattern) {
    std::string names;
    for (const PictureKind kind : KindsIn(pattern)) {
        if (!names.empty()) names += ',';
        names += KindInfo(kind).shortName;
    }
    return names;
}

}  // namespace velinor::imageio
