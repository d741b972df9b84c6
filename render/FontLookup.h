#pragma once

#include <memory>
#include <optional>
#include <string>

struct _FcConfig;

namespace velinor::render {

// A font file found for a face name and style, and whether it already has that style (when it
// has not, the renderer slants or thickens the glyphs itself).
struct FontFile {
    std::string path;
    int index = 0;           // face index inside the file
    bool bold = false;
    bool italic = false;
};

// Finds installed font files through fontconfig. Each lookup object loads its own fontconfig
// configuration on first use and frees it with the object, so nothing of it outlives the
// program's font table.
class FontLookup {
public:
    FontLookup();
    ~FontLookup();
    FontLookup(const FontLookup&) = delete;
    FontLookup& operator=(const FontLookup&) = delete;

    // The best installed face for family (empty = the default sans-serif face), honouring
    // fontconfig's aliases, so "arial" finds an Arial-compatible face. Empty when fontconfig
    // has no usable font at all.
    std::optional<FontFile> Find(const std::string& family, bool bold, bool italic);

private:
    struct ConfigDeleter {
        void operator()(_FcConfig* config) const;
    };
    std::unique_ptr<_FcConfig, ConfigDeleter> config_;
};

}  // namespace velinor::render
