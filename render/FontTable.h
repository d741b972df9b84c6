#pragma once

#include <map>
#include <memory>

#include "render/Font.h"
#include "render/FontLookup.h"
#include "render/FontDescription.h"

namespace velinor::render {

constexpr int kDefaultFont = -1;

// The program's numbered fonts. Creating a font under a number replaces what the number held;
// number -1 is the default interface font, made on first use.
class FontTable {
public:
    FontTable();
    ~FontTable();
    FontTable(const FontTable&) = delete;
    FontTable& operator=(const FontTable&) = delete;

    // False when no face could be loaded (the number is then empty).
    bool CreateFont(int number, const FontDescription& wanted);
    // The same from a font file named directly instead of a face found by name; the style the
    // file lacks is drawn by the renderer.
    bool CreateFontFromFile(int number, const std::string& path, const FontDescription& wanted);
    void FreeFont(int number);
    bool HasFont(int number) const;

    // The font under number, the default font for -1; null for an empty number.
    Font* Get(int number);
    // Null only when no font at all can be loaded on this system.
    Font* DefaultFont();

private:
    std::unique_ptr<Font> Make(const FontDescription& wanted);

    FontLookup lookup_;
    std::shared_ptr<FreeTypeLibrary> library_;
    std::map<int, std::unique_ptr<Font>> fonts_;
    std::unique_ptr<Font> default_;
};

}  // namespace velinor::render
