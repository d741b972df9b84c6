#include "render/Font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstring>

namespace velinor::render {
namespace {

constexpr int kDefaultCellHeight = 13;  // a normal small interface font
constexpr int kMaxPixelSize = 2048;     // keeps one glyph bitmap within a few megabytes
constexpr std::size_t kMaxCachedGlyphs = 1024;

int Scaled(long units, int ppem, int unitsPerEm) {
    return static_cast<int>(std::lround(static_cast<double>(units) * ppem / unitsPerEm));
}

}  // namespace

std::shared_ptr<FreeTypeLibrary> FreeTypeLibrary::Create() {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) return nullptr;
    return std::shared_ptr<FreeTypeLibrary>(new FreeTypeLibrary(library));
}

FreeTypeLibrary::~FreeTypeLibrary() { FT_Done_FreeType(library_); }

void Font::FaceDeleter::operator()(FT_FaceRec_* face) const { FT_Done_Face(face); }

Font::~Font() = default;

std::unique_ptr<Font> Font::Open(std::shared_ptr<FreeTypeLibrary> library, const FontFile& file,
                                 const FontDescription& wanted) {
    if (!library) return nullptr;
    FT_Face face = nullptr;
    if (FT_New_Face(library->Get(), file.path.c_str(), file.index, &face) != 0) return nullptr;
    std::unique_ptr<Font> font(new Font());
    font->library_ = std::move(library);
    font->face_.reset(face);
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) return nullptr;
    font->path_ = file.path;
    font->wanted_ = wanted;
    font->emboldened_ = wanted.weight >= 600 && !file.bold;
    font->slanted_ = wanted.italic && !file.italic;

    // The cell is the face's Windows ascent and descent where it has them (that is what the
    // text metrics of the desktop report), its horizontal header otherwise.
    const int upem = face->units_per_EM;
    long winAscent = face->ascender;
    long winDescent = -face->descender;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 != nullptr && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        winAscent = os2->usWinAscent;
        winDescent = os2->usWinDescent;
    }
    if (winAscent + winDescent <= 0) return nullptr;

    const int cellHeight = wanted.height == 0 ? kDefaultCellHeight : wanted.height;
    long ppem = cellHeight < 0 ? -static_cast<long>(cellHeight)
                               : std::lround(static_cast<double>(cellHeight) * upem / (winAscent + winDescent));
    ppem = std::clamp<long>(ppem, 1, kMaxPixelSize);
    font->ppem_ = static_cast<int>(ppem);
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(ppem)) != 0) return nullptr;

    font->ascent_ = Scaled(winAscent, font->ppem_, upem);
    font->descent_ = std::max(0, Scaled(winDescent, font->ppem_, upem));
    font->ascent_ = std::max(1, font->ascent_);

    // Underline below the baseline at the face's underline position; strike-out through the
    // middle of the lower-case letters.
    const int underlineThickness = std::max(1, Scaled(face->underline_thickness, font->ppem_, upem));
    int underlineTop = font->ascent_ - Scaled(face->underline_position, font->ppem_, upem) - underlineThickness / 2;
    underlineTop = std::clamp(underlineTop, 0, std::max(0, font->CellHeight() - underlineThickness));
    font->underline_ = {underlineTop, underlineThickness};

    long strikePosition = winAscent / 4;
    long strikeSize = face->underline_thickness;
    if (os2 != nullptr && os2->version != 0xFFFF && os2->yStrikeoutSize > 0) {
        strikePosition = os2->yStrikeoutPosition;
        strikeSize = os2->yStrikeoutSize;
    }
    const int strikeThickness = std::max(1, Scaled(strikeSize, font->ppem_, upem));
    int strikeTop = font->ascent_ - Scaled(strikePosition, font->ppem_, upem);
    strikeTop = std::clamp(strikeTop, 0, std::max(0, font->CellHeight() - strikeThickness));
    font->strikeOut_ = {strikeTop, strikeThickness};
    return font;
}

Glyph Font::Rasterise(char32_t character) const {
    Glyph glyph;
    FT_Face face = face_.get();
    const FT_UInt index = FT_Get_Char_Index(face, character);
    // Outlines are loaded unrendered so that a missing bold or italic can be made from them.
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) != 0) return glyph;
    FT_GlyphSlot slot = face->glyph;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        if (emboldened_) FT_GlyphSlot_Embolden(slot);
        if (slanted_) FT_GlyphSlot_Oblique(slot);
    }
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.buffer == nullptr) return glyph;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.rows = static_cast<int>(bitmap.rows);
    glyph.coverage.resize(static_cast<std::size_t>(glyph.width) * static_cast<std::size_t>(glyph.rows));
    // The grey levels run 0..num_grays-1; FreeType's normal renderer uses 256 of them.
    const int maxGrey = std::max(1, bitmap.num_grays - 1);
    for (int y = 0; y < glyph.rows; ++y) {
        const unsigned char* row = bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
        std::uint8_t* out = &glyph.coverage[static_cast<std::size_t>(y) * static_cast<std::size_t>(glyph.width)];
        if (maxGrey == 255) {
            std::memcpy(out, row, static_cast<std::size_t>(glyph.width));
        } else {
            for (int x = 0; x < glyph.width; ++x) out[x] = static_cast<std::uint8_t>(row[x] * 255 / maxGrey);
        }
    }
    return glyph;
}

const Glyph& Font::GlyphFor(char32_t character) {
    auto found = glyphs_.find(character);
    if (found != glyphs_.end()) return found->second;
    if (glyphs_.size() >= kMaxCachedGlyphs) glyphs_.clear();
    return glyphs_.emplace(character, Rasterise(character)).first->second;
}

int Font::Measure(std::u32string_view text) {
    long long width = 0;
    for (char32_t c : text) width += GlyphFor(c).advance;
    return static_cast<int>(std::min<long long>(width, 0x7FFFFFFF));
}

}  // namespace velinor::render
