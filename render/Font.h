#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "render/FontLookup.h"
#include "render/FontDescription.h"

struct FT_LibraryRec_;
struct FT_FaceRec_;

namespace velinor::render {

// One FreeType library instance; fonts share it and keep it alive while they exist.
class FreeTypeLibrary {
public:
    static std::shared_ptr<FreeTypeLibrary> Create();  // null when FreeType cannot start
    ~FreeTypeLibrary();
    FreeTypeLibrary(const FreeTypeLibrary&) = delete;
    FreeTypeLibrary& operator=(const FreeTypeLibrary&) = delete;
    FT_LibraryRec_* Get() const { return library_; }

private:
    explicit FreeTypeLibrary(FT_LibraryRec_* library) : library_(library) {}
    FT_LibraryRec_* library_;
};

// An anti-aliased glyph: coverage 0..255 per pixel, rows top down. left and top place the
// bitmap relative to the pen position on the baseline (top counts upwards).
struct Glyph {
    int left = 0;
    int top = 0;
    int width = 0;
    int rows = 0;
    int advance = 0;  // whole pixels the pen moves on
    std::vector<std::uint8_t> coverage;
};

// A horizontal band of the text cell, measured from the cell's top.
struct Band {
    int top = 0;
    int thickness = 0;
};

// A face at one pixel size with its style, ready to measure and rasterise text.
class Font {
public:
    static std::unique_ptr<Font> Open(std::shared_ptr<FreeTypeLibrary> library, const FontFile& file,
                                      const FontDescription& wanted);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    int Ascent() const { return ascent_; }
    int CellHeight() const { return ascent_ + descent_; }
    int PixelSize() const { return ppem_; }
    bool Underline() const { return wanted_.underline; }
    bool StrikeOut() const { return wanted_.strikeOut; }
    Band UnderlineBand() const { return underline_; }
    Band StrikeOutBand() const { return strikeOut_; }
    const std::string& Path() const { return path_; }

    // The glyph of a character (the face's missing-glyph shape when it has none).
    const Glyph& GlyphFor(char32_t character);
    // The width of a line of text: the sum of its advances.
    int Measure(std::u32string_view text);

private:
    struct FaceDeleter {
        void operator()(FT_FaceRec_* face) const;
    };

    Font() = default;
    Glyph Rasterise(char32_t character) const;

    std::shared_ptr<FreeTypeLibrary> library_;  // declared first: outlives the face
    std::unique_ptr<FT_FaceRec_, FaceDeleter> face_;
    std::string path_;
    FontDescription wanted_;
    bool emboldened_ = false;
    bool slanted_ = false;
    int ppem_ = 0;
    int ascent_ = 0;
    int descent_ = 0;
    Band underline_;
    Band strikeOut_;
    std::unordered_map<char32_t, Glyph> glyphs_;
};

}  // namespace velinor::render
