// velinor-cli: picture information and conversion with the program's own loader and writer.
//
//   velinor-cli info FILE [--logo]
//   velinor-cli convert IN OUT [--format bmp|jpeg|png] [--quality 0..10] [--logo]
//
// --logo decodes by file-name extension through the logo routes (GIF, ICO and PCX through the
// picture libraries in ./data/), as the program does for logos.
// Exit status: 0 done, 1 the picture could not be read or written, 2 bad usage.

#include <cctype>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "imageio/FileNames.h"
#include "imageio/Loader.h"
#include "imageio/Writer.h"
#include "marks/LogoRoutes.h"
#include "render/ImageRegistry.h"

namespace {

using namespace velinor;

constexpr int kDone = 0;
constexpr int kPictureFailed = 1;
constexpr int kUsage = 2;
constexpr int kSlot = 1;

constexpr const char* kUsageText =
    "usage: velinor-cli info FILE [--logo]\n"
    "       velinor-cli convert IN OUT [--format bmp|jpeg|png] [--quality 0..10] [--logo]\n";

int Usage(const std::string& problem) {
    if (!problem.empty()) std::fprintf(stderr, "velinor-cli: %s\n", problem.c_str());
    std::fputs(kUsageText, stderr);
    return kUsage;
}

struct Options {
    std::vector<std::string> files;
    std::optional<std::string> format;
    int quality = imageio::kDefaultJpegQuality;
    bool logo = false;
};

// Nothing (after reporting) when the arguments are not understood.
std::optional<Options> ParseOptions(int argc, char** argv, int first) {
    Options options;
    for (int i = first; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--logo") {
            options.logo = true;
        } else if (argument == "--format" || argument == "--quality") {
            if (i + 1 >= argc) {
                Usage(argument + " needs a value");
                return std::nullopt;
            }
            const std::string value = argv[++i];
            if (argument == "--format") {
                options.format = value;
                continue;
            }
            if (value.empty() || value.size() > 2 || !std::isdigit(static_cast<unsigned char>(value[0])) ||
                (value.size() == 2 && !std::isdigit(static_cast<unsigned char>(value[1]))) || std::stoi(value) > 10) {
                Usage("quality must be a whole number from 0 to 10");
                return std::nullopt;
            }
            options.quality = std::stoi(value);
        } else if (argument.size() > 1 && argument[0] == '-' && argument[1] == '-') {
            Usage("unknown option " + argument);
            return std::nullopt;
        } else {
            options.files.push_back(argument);
        }
    }
    return options;
}

std::string Lowercase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::optional<std::uint32_t> EncoderFor(const std::string& name) {
    const std::string format = Lowercase(name);
    if (format == "bmp") return imageio::kEncoderBmp;
    if (format == "jpeg" || format == "jpg") return imageio::kEncoderJpeg;
    if (format == "png") return imageio::kEncoderPng;
    return std::nullopt;
}

render::ImageHandle Load(render::ImageRegistry& images, const std::string& path, bool logo) {
    if (logo) return marks::LoadLogoPicture(images, path).handle;
    return imageio::LoadPicture(images, kSlot, path);
}

int ReadFailed(const std::string& path) {
    std::fprintf(stderr, "velinor-cli: cannot read the picture %s\n", path.c_str());
    return kPictureFailed;
}

int Info(const Options& options) {
    if (options.files.size() != 1) return Usage("info takes one file");
    if (options.format || options.quality != imageio::kDefaultJpegQuality) return Usage("info takes no --format or --quality");
    render::ImageRegistry images;
    const render::ImageHandle picture = Load(images, options.files[0], options.logo);
    if (picture == nullptr) return ReadFailed(options.files[0]);
    std::printf("%dx%d\n", picture->width, picture->height);
    return kDone;
}

int Convert(const Options& options) {
    if (options.files.size() != 2) return Usage("convert takes an input and an output file");
    const std::string& input = options.files[0];
    const std::string& output = options.files[1];
    const std::string format = options.format ? *options.format : imageio::ExtensionPart(output);
    const std::optional<std::uint32_t> encoder = EncoderFor(format);
    if (!encoder) {
        return Usage(options.format ? "unknown format " + format
                                    : "cannot tell the format from " + output + "; give --format");
    }
    render::ImageRegistry images;
    const render::ImageHandle picture = Load(images, input, options.logo);
    if (picture == nullptr) return ReadFailed(input);
    if (imageio::SavePicture(picture, output, *encoder, options.quality) != 1) {
        std::fprintf(stderr, "velinor-cli: cannot write the picture %s\n", output.c_str());
        return kPictureFailed;
    }
    return kDone;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage("");
    const std::string command = argv[1];
    if (command == "--help" || command == "-h") {
        std::fputs(kUsageText, stdout);
        return kDone;
    }
    const std::optional<Options> options = ParseOptions(argc, argv, 2);
    if (!options) return kUsage;
    if (command == "info") return Info(*options);
    if (command == "convert") return Convert(*options);
    return Usage("unknown command " + command);
}
