#include "stamping/TextVariables.h"

#include <ctime>

#include "imageio/FileNames.h"
#include "imageio/MetadataBlocks.h"

namespace velinor::stamping {

namespace {

std::string Stem(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

}  // namespace

std::string FillVariables(std::string_view text, const PictureFacts& facts) {
    std::string out;
    out.reserve(text.size());
    const std::string name = imageio::FilePart(facts.source);
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '{') {
            out += text[i++];
            continue;
        }
        if (text.substr(i, 2) == "{{") {
            out += '{';
            i += 2;
            continue;
        }
        const std::size_t close = text.find('}', i);
        if (close == std::string_view::npos) {
            out += text.substr(i);
            break;
        }
        const std::string_view variable = text.substr(i + 1, close - i - 1);
        if (variable == "name") {
            out += name;
        } else if (variable == "stem") {
            out += Stem(name);
        } else if (variable == "ext") {
            out += facts.extension;
        } else if (variable == "n") {
            out += std::to_string(facts.number);
        } else if (variable == "count") {
            out += std::to_string(facts.count);
        } else if (variable == "date") {
            out += facts.date;
        } else if (variable.substr(0, 5) == "exif:") {
            if (facts.metadata != nullptr) out += imageio::ExifField(*facts.metadata, std::string(variable.substr(5)));
        } else {
            out += '{';
            ++i;
            continue;
        }
        i = close + 1;
    }
    return out;
}

std::string Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

}  // namespace velinor::stamping
