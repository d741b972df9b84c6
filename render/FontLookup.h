#pragma once

#include <optional>
#include <string>

namespace velinor::render {

// A font file found for a face name and style, and whether it already has that style (when it
// has not, the renderer slants or thickens the glyphs itself).
struct FontFile {
    std::string path;
    int index = 0;           // face index inside the file
    bool bold = false;
    bool italic = false;
};

// Asks fontconfig for the best installed face for family (empty = the default sans-serif face),
// honouring its aliases, so "arial" finds an Arial-compatible face. Empty when fontconfig has
// no usable font at all.
std::optional<FontFile> FindFontFile(const std::string& family, bool bold, bool italic);

}  // namespace velinor::render
