#include "tools/velinor-cli/StampOptions.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string_view>

#include "imageio/DecodeLimits.h"
#include "imageio/PictureKinds.h"
#include "tools/velinor-cli/TextureNames.h"

namespace velinor::tools {

namespace {

using stamping::Length;

bool Whole(std::string_view text, int low, int high, int& value) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    }
    value = std::atoi(std::string(text).c_str());
    return value >= low && value <= high;
}

bool Colour(std::string_view text, render::Color& colour) {
    if (text.size() != 7 || text[0] != '#') return false;
    for (char c : text.substr(1)) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    }
    const unsigned long rgb = std::strtoul(std::string(text.substr(1)).c_str(), nullptr, 16);
    colour = render::MakeColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                               static_cast<int>(rgb & 0xFF));
    return true;
}

// "N" pixels or "N%" (up to 100), N a decimal number.
bool LengthOf(std::string_view text, Length& length) {
    length.percent = !text.empty() && text.back() == '%';
    if (length.percent) text.remove_suffix(1);
    if (text.empty() || text.size() > 12) return false;
    const std::string digits(text);
    char* end = nullptr;
    const double value = std::strtod(digits.c_str(), &end);
    if (*end != '\0' || !(value >= 0) || value > (length.percent ? 100.0 : 32767.0)) return false;
    if (!std::isdigit(static_cast<unsigned char>(digits[0]))) return false;
    length.value = value;
    return true;
}

constexpr std::string_view kAnchorNames[] = {"center", "top", "bottom", "top-left", "top-right", "bottom-left",
                                             "bottom-right"};

bool AnchorOf(std::string_view text, marks::Anchor& anchor) {
    for (int i = 0; i < marks::kAnchorCount; ++i) {
        if (text == kAnchorNames[i]) {
            anchor = marks::AnchorFromIndex(i);
            return true;
        }
    }
    return false;
}

bool Switch(std::string_view value) { return value != "0" && value != "false" && value != "no"; }

void SetStyle(StampCommand& c, int bit, std::string_view value) {
    if (Switch(value)) {
        c.text.font.style |= bit;
    } else {
        c.text.font.style &= ~bit;
    }
}

using Apply = bool (*)(StampCommand&, std::string_view, std::string&);

struct OptionRow {
    const char* name;        // long name without the dashes
    char shortName;          // 0 for none
    const char* value;       // what the value is called in the help; null for a switch
    const char* help;
    Apply apply;
    bool preset = true;      // a preset file may give it
};

#define FAIL(text)      \
    do {                \
        problem = text; \
        return false;   \
    } while (false)

const OptionRow kOptions[] = {
    {"output", 'o', "DIR", "folder the stamped pictures are written to (made when missing)",
     [](StampCommand& c, std::string_view v, std::string&) { c.outputFolder = v; return true; }, false},
    {"recursive", 'r', nullptr, "walk the sub-folders of folders given, keeping their layout under DIR",
     [](StampCommand& c, std::string_view v, std::string&) { c.recursive = Switch(v); return true; }, false},
    {"files-from", 0, "FILE|-", "also stamp the pictures and folders named in FILE (- standard input), one a line",
     [](StampCommand& c, std::string_view v, std::string& problem) {
         if (v.empty()) FAIL("--files-from needs a file, or - for standard input");
         if (v == "-" && std::find(c.filesFrom.begin(), c.filesFrom.end(), "-") != c.filesFrom.end()) {
             FAIL("--files-from - can be given once");
         }
         c.filesFrom.emplace_back(v);
         return true;
     }, false},
    {"null", '0', nullptr, "the names of --files-from are separated by NUL bytes (as find -print0 writes them)",
     [](StampCommand& c, std::string_view v, std::string&) { c.nulSeparated = Switch(v); return true; }, false},
    {"base", 0, "DIR", "take relative names from DIR, and keep each picture's place under DIR below -o",
     [](StampCommand& c, std::string_view v, std::string& problem) {
         if (v.empty()) FAIL("--base needs a folder");
         c.base = v;
         return true;
     }, false},
    {"shard", 0, "I/N", "stamp share I of N (0-based): the places I, I+N, ... of the sorted list",
     [](StampCommand& c, std::string_view v, std::string&) { c.shard = std::string(v); return true; }, false},
    {"shards", 0, "N", "the number of shares, when the scheduler gives only the task's index",
     [](StampCommand& c, std::string_view v, std::string& problem) {
         if (!Whole(v, 1, 1000000, c.shards)) FAIL("--shards takes 1 to 1000000");
         return true;
     }, false},
    {"skip-existing", 0, nullptr, "leave alone a picture whose output is there (outputs only ever appear complete)",
     [](StampCommand& c, std::string_view v, std::string&) { c.skipExisting = Switch(v); return true; }, false},
    {"resume", 0, "LOG", "skip the pictures an earlier run's --json log reports done, whose outputs are there",
     [](StampCommand& c, std::string_view v, std::string& problem) {
         if (v.empty()) FAIL("--resume needs the log of an earlier --json run");
         c.resume = std::string(v);
         return true;
     }, false},
    {"preset", 0, "FILE", "read mark settings from FILE (as the window saves them); options given override them",
     [](StampCommand& c, std::string_view v, std::string&) { c.preset = std::string(v); return true; }, false},
    {"text", 0, "TEXT", "write TEXT; {name} {stem} {ext} {n} {count} {date} {exif:TAG} are filled in",
     [](StampCommand& c, std::string_view v, std::string&) { c.text.text = v; c.textGiven = true; return true; }},
    {"font", 0, "FAMILY|FILE", "the text's font family, or a font file (default: the default sans-serif face)",
     [](StampCommand& c, std::string_view v, std::string&) { c.text.font.face = v; return true; }},
    {"size", 0, "POINTS|N%", "text size in points (at --dpi), or character height in % of the shorter side",
     [](StampCommand& c, std::string_view v, std::string& problem) {
         Length length;
         if (!LengthOf(v, length)) FAIL("--size takes points (1 to 1000) or a percentage such as 4%");
         if (length.percent) {
             c.text.sizePercent = length.value;
         } else {
             if (length.value < 1 || length.value > 1000) FAIL("--size takes points (1 to 1000) or a percentage such as 4%");
             c.text.font.pointSize = static_cast<int>(length.value);
             c.text.sizePercent.reset();
         }
         return true;
     }},
    {"dpi", 0, "N", "the display the point size is measured on, 48 to 480 (default 96)",
     [](StampCommand& c, std::string_view v, std::string& problem) {
         if (!Whole(v, 48, 480, c.text.dpi)) FAIL("--dpi takes 48 to 480");
         return true;
     }},
    {"colour", 0, "#RRGGBB", "text colour (default black)",
     [](StampCommand& c, std::string_view v, std::string& problem) {
         if (!Colour(v, c.text.font.colour)) FAIL("--colour takes #RRGGBB");
         return true;
     }},
    {"bold", 0, nullptr, "bold text", [](StampCommand& c, std::string_view v, std::string&) { SetStyle(c, marks::kStyleBold, v); return true; }},
    {"italic", 0, nullptr, "italic text", [](StampCommand& c, std::string_view v, std::string&) { SetStyle(c, marks::kStyleItalic, v); return true; }},
    {"underline", 0, nullptr, "underlined text", [](StampCommand& c, std::string_view v, std::string&) { SetStyle(c, marks::kStyleUnderline, v); return true; }},
    {"outline", 0, "N", "a ring of N pixels (0 to 20) round the text",
     [](StampCommand& c, std::string_view v, std::string& problem) {
         if (!Whole(v, 0, 20, c.text.outline)) FAIL("--outline takes 0 to 20 pixels");
         return true;
     }},
    {"outline-colour", 0, "#RRGGBB", "colour of the outline (default black)",
     [](StampCommand& c, std::string_view v, std::string& problem) {
         if (!Colour(v, c.text.outlineColour)) FAIL("--outline-colour takes #RRGGBB");
         return true;
     }},
    {"shadow", 0, nullptr, "a black shadow beneath the text",
     [](StampCommand& c, std::string_view v, std::string&) { c.text.shadow = Switch(v); return true; }},
    {"text-anchor", 0, "PLACE", "where the text goes (default: --anchor)",
     [](StampCommand& c, std::string_view v, std::string& problem) {
         if (!AnchorOf(v, c.text.anchor)) FAIL("--text-anchor takes center, top, bottom, top-left, top-right, bottom-left or bottom-right");
         return true;
     }},
    {"logo", 0, "FILE", "draw the logo of FILE (GIF, ICO and PCX logos are keyed)",
     [](StampCommand& c, std::string_view v, std::string&) { c.logo.file = v; c.logoGiven = true; return true; }},
    {"opacity", 0, "0..255", "opacity of the logo (default 255, opaque)",
     [](StampCommand& c, std::string_view v, std::string& problem) {
         int opacity = 0;
         if (!Whole(v, 0, 255, opacity)) FAIL("--opacity takes 0 to 255");
         c.logo.transparency = 255 - opacity;
         return true;
     }},
    {"key-colour", 0, "#RRGGBB", "colour left out of a keyed logo (default: its top-left pixel)",
     [](StampCommand& c, std::string_view v, std::string& problem) {
         render::Color colour = 0;
         if (!Colour(v, colour)) FAIL("--key-colour takes #RRGGBB");
         c.logo.keyColour = colour;
         return true;
     }},
    {"logo-width", 0, "PIXELS|N%", "scale the logo to this width, or to N% of the picture's width",
     [](StampCommand& c, std::string_view v, std::string& problem) {
         Length length;
         if (!LengthOf(v, length) || length.value <= 0) FAIL("--logo-width takes pixels or a percentage such as 20%");
         c.logo.width = length;
         return true;
     }},
    {"logo-anchor", 0, "PLACE", "where the logo goes (default: --anchor)",
     [](StampCommand& c, std::string_view v, std::string& problem) {
         if (!AnchorOf(v, c.logo.anchor)) FAIL("--logo-anchor takes center, top, bottom, top-left, top-right, bottom-left or bottom-right");
         return true;
     }},
    {"anchor", 0, "PLACE", "center top bottom top-left top-right bottom-left bottom-right (default center)",
     [](StampCommand& c, std::string_view v, std::string& problem) {
         marks::Anchor anchor{};
         if (!AnchorOf(v, anchor)) FAIL("--anchor takes center, top, bottom, top-left, top-right, bottom-left or bottom-right");
         c.text.anchor = c.logo.anchor = anchor;
         return true;
     }},
    {"margin", 0, "X[,Y]", "keep the logo and text X (and Y) pixels or % from the edges they sit at",
     [](StampCommand& c, std::string_view v, std::string& problem) {
         const std::size_t comma = v.find(',');
         Length x, y;
         if (!LengthOf(v.substr(0, comma), x) || (comma != std::string_view::npos && !LengthOf(v.substr(comma + 1), y))) {
             FAIL("--margin takes X or X,Y, each pixels or a percentage");
         }
         c.settings.margins = {x, comma == std::string_view::npos ? x : y};
         return true;
     }},
    {"frame", 0, "texture:NAME|circles", "a texture frame (a tile of texturen/, or a file) or a circle frame",
     [](StampCommand& c, std::string_view v, std::string& problem) {
         if (v == "circles") {
             c.circlesGiven = true;
             return true;
         }
         if (v.substr(0, 8) != "texture:") FAIL("--frame takes texture:NAME or circles");
         const std::optional<std::string> tile = TextureFile(std::string(v.substr(8)));
         if (!tile) FAIL("no texture " + std::string(v.substr(8)) + " among the program's texture tiles");
         c.texture.tile = *tile;
         c.textureGiven = true;
         return true;
     }},
    {"frame-width", 0, "N", "band width of the frame in pixels, 1 to 128 (default 16)",
     [](StampCommand& c, std::string_view v, std::string& problem) {
         if (!Whole(v, 1, 128, c.texture.width)) FAIL("--frame-width takes 1 to 128");
         c.circles.params.border = c.texture.width;
         return true;
     }},
    {"frame-opacity", 0, "0..255", "opacity of the frame (default 255, opaque)",
     [](StampCommand& c, std::string_view v, std::string& problem) {
         int opacity = 0;
         if (!Whole(v, 0, 255, opacity)) FAIL("--frame-opacity takes 0 to 255");
         c.texture.transparency = c.circles.transparency = 255 - opacity;
         return true;
     }},
    {"circle-colour", 0, "#RRGGBB", "colour of the circle frame (default #E5E5E5)",
     [](StampCommand& c, std::string_view v, std::string& problem) {
         if (!Colour(v, c.circles.params.colour)) FAIL("--circle-colour takes #RRGGBB");
         return true;
     }},
    {"circle-radius", 0, "N", "largest circle radius, 1 to 200 (default 10)",
     [](StampCommand& c, std::string_view v, std::string& problem) {
         if (!Whole(v, 1, 200, c.circles.params.maxRadius)) FAIL("--circle-radius takes 1 to 200");
         return true;
     }},
    {"circle-gap", 0, "N", "circle centres lie N + 1 pixels apart, 1 to 200 (default 3)",
     [](StampCommand& c, std::string_view v, std::string& problem) {
         if (!Whole(v, 1, 200, c.circles.params.gap)) FAIL("--circle-gap takes 1 to 200");
         return true;
     }},
    {"circle-sides", 0, "2|4", "circles along top and bottom only, or along all four edges (default 4)",
     [](StampCommand& c, std::string_view v, std::string& problem) {
         if (v != "2" && v != "4") FAIL("--circle-sides takes 2 or 4");
         c.circles.params.sides = v == "2" ? 2 : 4;
         return true;
     }},
    {"circle-outline", 0, nullptr, "circles drawn as outlines instead of filled",
     [](StampCommand& c, std::string_view v, std::string&) { c.circles.params.filled = !Switch(v); return true; }},
    {"seed", 0, "N", "draw the circles' radii from seed N, the same for every picture",
     [](StampCommand& c, std::string_view v, std::string& problem) {
         if (v.empty() || v.size() > 19 || v.find_first_not_of("0123456789") != std::string_view::npos) {
             FAIL("--seed takes a whole number");
         }
         c.circles.seed = std::strtoull(std::string(v).c_str(), nullptr, 10);
         return true;
     }},
    {"quality", 0, "0..10", "JPEG quality on the window's scale (default 7); a JPEG written as JPEG is then encoded again",
     [](StampCommand& c, std::string_view v, std::string& problem) {
         if (!Whole(v, 0, 10, c.settings.quality)) FAIL("--quality takes a whole number from 0 to 10");
         c.qualityGiven = true;
         return true;
     }},
    {"lossless", 0, nullptr,
     "a JPEG written as JPEG keeps its quality: only the blocks under the marks are coded again "
     "(the default for JPEG to JPEG without --quality)",
     [](StampCommand& c, std::string_view v, std::string&) { c.lossless = Switch(v); return true; }},
    {"format", 0, "jpeg|png|bmp|same", "format of the outputs (default same: the source's own where it is written, else jpeg)",
     [](StampCommand& c, std::string_view v, std::string& problem) {
         if (v == "same") {
             c.output.format.reset();
             return true;
         }
         const auto kind = imageio::KindFor(v, imageio::kFormatName);
         if (!kind || !imageio::KindInfo(*kind).encoder) FAIL("--format takes jpeg, png, bmp or same");
         c.output.format = kind;
         return true;
     }},
    {"name", 0, "TEMPLATE", "output file name (default {stem}.{ext}; the variables of --text)",
     [](StampCommand& c, std::string_view v, std::string& problem) {
         if (v.empty()) FAIL("--name needs a template");
         c.output.nameTemplate = v;
         return true;
     }},
    {"on-exists", 0, "unique|skip|overwrite", "when the name is taken: next free name (default), skip, or replace",
     [](StampCommand& c, std::string_view v, std::string& problem) {
         const auto choice = stamping::OnExistsNamed(v);
         if (!choice) FAIL("--on-exists takes unique, skip or overwrite");
         c.output.onExists = *choice;
         c.onExistsGiven = true;
         return true;
     }},
    {"metadata", 0, "keep|strip-gps|strip", "what the outputs keep of the sources' metadata (default keep)",
     [](StampCommand& c, std::string_view v, std::string& problem) {
         const auto policy = imageio::MetadataPolicyNamed(v);
         if (!policy) FAIL("--metadata takes keep, strip-gps or strip");
         c.settings.metadata.policy = *policy;
         return true;
     }},
    {"copyright", 0, "TEXT", "write TEXT as the outputs' EXIF copyright and XMP rights",
     [](StampCommand& c, std::string_view v, std::string&) { c.settings.metadata.copyright = v; return true; }},
    {"jobs", 'j', "N", "pictures stamped at once (default: the processors this process may use)",
     [](StampCommand& c, std::string_view v, std::string& problem) {
         if (!Whole(v, 1, 256, c.jobs)) FAIL("--jobs takes 1 to 256");
         return true;
     }, false},
    {"json", 0, nullptr, "one JSON object per picture on standard output, and a summary",
     [](StampCommand& c, std::string_view v, std::string&) { c.json = Switch(v); return true; }, false},
    {"max-pixels", 0, "N", "refuse pictures of more than N pixels (default 268435456 or VELINOR_MAX_PIXELS)",
     [](StampCommand&, std::string_view v, std::string& problem) {
         const std::optional<long long> pixels = imageio::ParsePixelCount(std::string(v));
         if (!pixels) FAIL("--max-pixels needs a positive whole number");
         imageio::SetPixelLimit(*pixels);
         return true;
     }, false},
    {"help", 'h', nullptr, "this list",
     [](StampCommand& c, std::string_view, std::string&) { c.help = true; return true; }, false},
};

#undef FAIL

const OptionRow* FindLong(std::string_view name) {
    for (const OptionRow& row : kOptions) {
        if (name == row.name) return &row;
    }
    return nullptr;
}

const OptionRow* FindShort(char name) {
    for (const OptionRow& row : kOptions) {
        if (row.shortName != 0 && row.shortName == name) return &row;
    }
    return nullptr;
}

std::string Spelling(const OptionRow& row) {
    std::string text = row.shortName != 0 ? std::string("-") + row.shortName + ", " : std::string("    ");
    text += std::string("--") + row.name;
    if (row.value != nullptr) text += std::string(" ") + row.value;
    return text;
}

}  // namespace

bool ParseStampArguments(const std::vector<std::string>& arguments, StampCommand& command, std::string& problem) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const OptionRow* row = nullptr;
        std::string spelt = argument;
        std::optional<std::string> inlineValue;
        if (argument.size() > 2 && argument.compare(0, 2, "--") == 0) {
            std::string name = argument.substr(2);
            const std::size_t equals = name.find('=');
            if (equals != std::string::npos) {
                inlineValue = name.substr(equals + 1);
                name.resize(equals);
                spelt = "--" + name;
            }
            row = FindLong(name);
        } else if (argument.size() == 2 && argument[0] == '-' && argument[1] != '-') {
            row = FindShort(argument[1]);
        } else if (argument == "--") {
            for (++i; i < arguments.size(); ++i) command.inputs.push_back(arguments[i]);
            break;
        } else {
            command.inputs.push_back(argument);
            continue;
        }
        if (row == nullptr) {
            problem = "unknown option " + spelt;
            return false;
        }
        std::string value = "1";
        if (row->value != nullptr) {
            if (inlineValue) {
                value = *inlineValue;
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            } else {
                problem = spelt + " needs a value (" + row->value + ")";
                return false;
            }
        } else if (inlineValue) {
            problem = spelt + " takes no value";
            return false;
        }
        if (!row->apply(command, value, problem)) return false;
    }
    return true;
}

bool ApplyStampOption(const std::string& name, const std::string& value, StampCommand& command, std::string& problem) {
    const OptionRow* row = FindLong(name);
    if (row == nullptr || !row->preset) {
        problem = "unknown setting " + name;
        return false;
    }
    if (!row->apply(command, value, problem)) return false;
    return true;
}

std::vector<std::string> PresetOptionNames() {
    std::vector<std::string> names;
    for (const OptionRow& row : kOptions) {
        if (row.preset) names.push_back(row.name);
    }
    return names;
}

bool FinishStampCommand(StampCommand& command, std::string& problem) {
    stamping::StampSettings& s = command.settings;
    if (command.textureGiven) s.texture = command.texture;
    if (command.circlesGiven) s.circles = command.circles;
    if (command.logoGiven && !command.logo.file.empty()) s.logo = command.logo;
    s.lossless = command.lossless.value_or(!command.qualityGiven);
    if (command.textGiven && !command.text.text.empty()) s.text = command.text;
    if (!s.HasMark()) {
        problem = "nothing to stamp: give --text, --logo or --frame (or a --preset that does)";
        return false;
    }
    if (command.outputFolder.empty()) {
        problem = "give the output folder with -o DIR";
        return false;
    }
    if (command.inputs.empty() && command.filesFrom.empty()) {
        problem = "give the pictures or folders to stamp, or --files-from FILE";
        return false;
    }
    if (command.skipExisting) {
        if (command.onExistsGiven && command.output.onExists != stamping::OnExists::Skip) {
            problem = "--skip-existing leaves outputs alone: it does not go with --on-exists unique or overwrite";
            return false;
        }
        command.output.onExists = stamping::OnExists::Skip;
    }
    return true;
}

std::string StampOptionList() {
    std::string text;
    for (const OptionRow& row : kOptions) {
        std::string line = "  " + Spelling(row);
        line.resize(std::max<std::size_t>(line.size() + 2, 38), ' ');
        text += line + row.help + "\n";
    }
    return text;
}

std::string StampHelp() {
    return "usage: velinor-cli stamp [OPTIONS] INPUT... -o DIR\n"
           "       velinor-cli stamp [OPTIONS] --files-from FILE|- -o DIR\n" + StampOptionList() +
           "exit status: 0 every picture written or skipped as asked, 3 some failed (worth retrying),\n"
           "1 nothing could be started (a preset, logo, texture, font, list or log that cannot be\n"
           "read), 2 bad usage (neither is worth retrying), 130 or 143 when interrupted.\n";
}

}  // namespace velinor::tools
