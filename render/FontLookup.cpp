#include "render/FontLookup.h"

#include <fontconfig/fontconfig.h>

namespace velinor::render {
namespace {

struct PatternDeleter {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

const FcChar8* AsFc(const char* s) { return reinterpret_cast<const FcChar8*>(s); }

}  // namespace

void FontLookup::ConfigDeleter::operator()(_FcConfig* config) const { FcConfigDestroy(config); }

FontLookup::FontLookup() = default;
FontLookup::~FontLookup() = default;

std::optional<FontFile> FontLookup::Find(const std::string& family, bool bold, bool italic) {
    if (!config_) config_.reset(FcInitLoadConfigAndFonts());
    FcConfig* config = config_.get();
    if (config == nullptr) return std::nullopt;

    Pattern request(FcPatternCreate());
    if (!request) return std::nullopt;
    FcPatternAddString(request.get(), FC_FAMILY, AsFc(family.empty() ? "sans-serif" : family.c_str()));
    FcPatternAddInteger(request.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(request.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(request.get(), FC_SCALABLE, FcTrue);
    if (!FcConfigSubstitute(config, request.get(), FcMatchPattern)) return std::nullopt;
    FcDefaultSubstitute(request.get());

    FcResult result = FcResultNoMatch;
    Pattern match(FcFontMatch(config, request.get(), &result));
    if (!match || result != FcResultMatch) return std::nullopt;

    FcChar8* file = nullptr;
    if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch || file == nullptr) return std::nullopt;
    FontFile found;
    found.path = reinterpret_cast<const char*>(file);
    int value = 0;
    if (FcPatternGetInteger(match.get(), FC_INDEX, 0, &value) == FcResultMatch) found.index = value;
    if (FcPatternGetInteger(match.get(), FC_WEIGHT, 0, &value) == FcResultMatch) {
        found.bold = value >= FC_WEIGHT_DEMIBOLD;
    }
    if (FcPatternGetInteger(match.get(), FC_SLANT, 0, &value) == FcResultMatch) {
        found.italic = value != FC_SLANT_ROMAN;
    }
    return found;
}

}  // namespace velinor::render
