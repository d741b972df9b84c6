#include "render/FontTable.h"

#include <new>

namespace velinor::render {

FontTable::FontTable() = default;
FontTable::~FontTable() = default;

std::unique_ptr<Font> FontTable::Make(const FontDescription& wanted) {
    try {
        if (!library_) library_ = FreeTypeLibrary::Create();
        if (!library_) return nullptr;
        const std::optional<FontFile> file = lookup_.Find(wanted.face, wanted.weight >= 600, wanted.italic);
        if (!file) return nullptr;
        return Font::Open(library_, *file, wanted);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

bool FontTable::CreateFont(int number, const FontDescription& wanted) {
    if (number == kDefaultFont) return false;  // the default font is fixed
    fonts_.erase(number);
    std::unique_ptr<Font> font = Make(wanted);
    if (!font) return false;
    fonts_[number] = std::move(font);
    return true;
}

bool FontTable::CreateFontFromFile(int number, const std::string& path, const FontDescription& wanted) {
    if (number == kDefaultFont) return false;
    fonts_.erase(number);
    try {
        if (!library_) library_ = FreeTypeLibrary::Create();
        if (!library_) return false;
        std::unique_ptr<Font> font = Font::Open(library_, FontFile{path, 0, false, false}, wanted);
        if (!font) return false;
        fonts_[number] = std::move(font);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

void FontTable::FreeFont(int number) { fonts_.erase(number); }

bool FontTable::HasFont(int number) const { return fonts_.count(number) != 0; }

Font* FontTable::Get(int number) {
    if (number == kDefaultFont) return DefaultFont();
    auto found = fonts_.find(number);
    return found == fonts_.end() ? nullptr : found->second.get();
}

Font* FontTable::DefaultFont() {
    if (!default_) default_ = Make(FontDescription{});
    return default_.get();
}

}  // namespace velinor::render
