#include "stamping/PresetEntries.h"

#include <cstdio>

namespace velinor::stamping {

namespace {

constexpr const char* kAnchorNames[] = {"center", "top", "bottom", "top-left", "top-right", "bottom-left",
                                        "bottom-right"};

std::string Hex(render::Color colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", render::RedOf(colour), render::GreenOf(colour),
                  render::BlueOf(colour));
    return text;
}

std::string AnchorName(marks::Anchor anchor) { return kAnchorNames[static_cast<int>(anchor)]; }

std::string Flag(bool on) { return on ? "1" : "0"; }

}  // namespace

std::vector<std::pair<std::string, std::string>> PresetEntries(const StampSettings& settings) {
    std::vector<std::pair<std::string, std::string>> lines;
    if (const auto& t = settings.text) {
        lines.push_back({"text", t->text});
        lines.push_back({"font", t->font.face});
        if (t->font.pointSize > 0) lines.push_back({"size", std::to_string(t->font.pointSize)});
        lines.push_back({"dpi", std::to_string(t->dpi)});
        lines.push_back({"colour", Hex(t->font.colour)});
        lines.push_back({"bold", Flag((t->font.style & marks::kStyleBold) != 0)});
        lines.push_back({"italic", Flag((t->font.style & marks::kStyleItalic) != 0)});
        lines.push_back({"underline", Flag((t->font.style & marks::kStyleUnderline) != 0)});
        lines.push_back({"text-anchor", AnchorName(t->anchor)});
    }
    if (const auto& l = settings.logo) {
        lines.push_back({"logo", l->file});
        lines.push_back({"opacity", std::to_string(255 - l->transparency)});
        if (l->keyColour) lines.push_back({"key-colour", Hex(*l->keyColour)});
        lines.push_back({"logo-anchor", AnchorName(l->anchor)});
    }
    if (const auto& f = settings.texture) {
        lines.push_back({"frame", "texture:" + f->tile});
        lines.push_back({"frame-width", std::to_string(f->width)});
        lines.push_back({"frame-opacity", std::to_string(255 - f->transparency)});
    }
    if (const auto& c = settings.circles) {
        lines.push_back({"frame", "circles"});
        lines.push_back({"frame-width", std::to_string(c->params.border)});
        lines.push_back({"frame-opacity", std::to_string(255 - c->transparency)});
        lines.push_back({"circle-colour", Hex(c->params.colour)});
        lines.push_back({"circle-radius", std::to_string(c->params.maxRadius)});
        lines.push_back({"circle-gap", std::to_string(c->params.gap)});
        lines.push_back({"circle-sides", std::to_string(c->params.sides)});
        lines.push_back({"circle-outline", Flag(!c->params.filled)});
    }
    lines.push_back({"quality", std::to_string(settings.quality)});
    // A quality in a preset makes a JPEG be encoded again unless the preset says to keep it.
    if (settings.lossless) lines.push_back({"lossless", Flag(true)});
    switch (settings.metadata.policy) {
        case imageio::MetadataPolicy::Keep: lines.push_back({"metadata", "keep"}); break;
        case imageio::MetadataPolicy::StripGps: lines.push_back({"metadata", "strip-gps"}); break;
        case imageio::MetadataPolicy::Strip: lines.push_back({"metadata", "strip"}); break;
    }
    return lines;
}

}  // namespace velinor::stamping
