#include "tools/velinor-cli/InfoJson.h"

#include <cstdio>
#include <cstring>
#include <fstream>

#include "imageio/DisplayColour.h"
#include "imageio/MetadataBlocks.h"

namespace velinor::tools {

namespace {

// The length of the UTF-8 sequence starting at text[at], or 0 when it is not one.
std::size_t Utf8Length(const std::string& text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    unsigned minimum = 0;
    unsigned code = 0;
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, minimum = 0x80, code = lead & 0x1Fu;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, minimum = 0x800, code = lead & 0x0Fu;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, minimum = 0x10000, code = lead & 0x07u;
    } else {
        return 0;
    }
    if (text.size() - at < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) return 0;
        code = (code << 6) | (next & 0x3Fu);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

}  // namespace

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (std::size_t at = 0; at < text.size();) {
        const char c = text[at];
        const std::size_t length = Utf8Length(text, at);
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            ++at;
            continue;
        }
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof(escaped), "\\u%04x", static_cast<unsigned>(c));
            out += escaped;
        } else {
            out.append(text, at, length);
        }
        at += length;
    }
    return out + "\"";
}

namespace {

// A string, or null when it is empty. EXIF text ends in NULs and often in spaces.
std::string TextOrNull(std::string text) {
    while (!text.empty() && (text.back() == '\0' || text.back() == ' ')) text.pop_back();
    return text.empty() ? "null" : JsonString(text);
}

std::string FormatOf(const std::string& path) {
    unsigned char head[8] = {};
    std::ifstream file(path, std::ios::binary);
    file.read(reinterpret_cast<char*>(head), sizeof(head));
    if (head[0] == 0xFF && head[1] == 0xD8) return "JPEG";
    if (std::memcmp(head, "\x89PNG\r\n\x1a\n", 8) == 0) return "PNG";
    if (head[0] == 'B' && head[1] == 'M') return "BMP";
    if (std::memcmp(head, "GIF8", 4) == 0) return "GIF";
    if (head[0] == 0 && head[1] == 0 && head[2] == 1 && head[3] == 0) return "ICO";
    if (head[0] == 0x0A) return "PCX";
    return "TGA";
}

}  // namespace

std::string InfoJson(const std::string& path, const render::RasterImage& picture,
                     const imageio::PictureMetadata& metadata) {
    const imageio::MetadataSummary summary = imageio::SummariseMetadata(metadata);
    std::string json = "{";
    json += "\"file\":" + JsonString(path);
    json += ",\"width\":" + std::to_string(picture.width);
    json += ",\"height\":" + std::to_string(picture.height);
    json += ",\"format\":" + JsonString(FormatOf(path));
    json += ",\"orientation\":" + std::to_string(metadata.orientation);
    json += ",\"profile\":" + TextOrNull(imageio::ProfileDescription(metadata.icc));
    json += ",\"make\":" + TextOrNull(summary.make);
    json += ",\"model\":" + TextOrNull(summary.model);
    json += ",\"lens\":" + TextOrNull(summary.lens);
    json += ",\"dateTaken\":" + TextOrNull(summary.dateTaken);
    json += std::string(",\"gps\":") + (summary.gps ? "true" : "false");
    return json + "}\n";
}

}  // namespace velinor::tools
