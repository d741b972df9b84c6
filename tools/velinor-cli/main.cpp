// velinor-cli: picture information, conversion and stamping with the program's own loader,
// marks and writer.
//
//   velinor-cli stamp [OPTIONS] INPUT... -o DIR   (velinor-cli stamp --help lists the options)
//   velinor-cli info FILE [--json] [--logo]
//   velinor-cli convert IN OUT [--format bmp|jpeg|png] [--quality 0..10] [--metadata keep|strip-gps|strip]
//                       [--copyright TEXT] [--logo]
//   --max-pixels N (either command) raises or lowers the pixel limit, 2^28 by default or
//   the VELINOR_MAX_PIXELS environment variable.
//
// --logo decodes by file-name extension through the logo routes (GIF, ICO and PCX through the
// picture libraries: ./data/ in a runtime folder, which holds lang.prf, else lib/velinor/ of the
// installed tree the program stands in), as the program does for logos.
// Exit status: 0 done (and for --help), 1 the picture could not be read or written, 2 bad usage.
// A failure is one line on standard error that says why; so is each metadata block of the input
// that was damaged or too large and was left out (the picture is still written).

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "files/ProgramFiles.h"
#include "imageio/FileNames.h"
#include "imageio/PictureKinds.h"
#include "imageio/JpegConvert.h"
#include "imageio/Loader.h"
#include "imageio/Writer.h"
#include "marks/LogoRoutes.h"
#include "render/ImageRegistry.h"
#include "runtime/ErrorReport.h"
#include "tools/velinor-cli/InfoJson.h"
#include "tools/velinor-cli/ReadProblem.h"
#include "tools/velinor-cli/StampOptions.h"
#include "tools/velinor-cli/StampRunner.h"

namespace {

using namespace velinor;

constexpr int kDone = 0;
constexpr int kPictureFailed = 1;
constexpr int kUsage = 2;
constexpr int kSlot = 1;

constexpr const char* kUsageText =
    "usage: velinor-cli stamp [OPTIONS] INPUT... -o DIR  (velinor-cli stamp --help)\n"
    "       velinor-cli info FILE [--json] [--logo]\n"
    "       velinor-cli convert IN OUT [--format bmp|jpeg|png] [--quality 0..10] [--logo]\n"
    "                   [--metadata keep|strip-gps|strip] [--copyright TEXT]\n"
    "       --max-pixels N  refuse pictures of more than N pixels (default 268435456,\n"
    "                       or the environment variable VELINOR_MAX_PIXELS)\n";

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
    bool json = false;
    bool metadataGiven = false;
    imageio::MetadataChoices metadata;
};

// Nothing (after reporting) when the arguments are not understood.
std::optional<Options> ParseOptions(int argc, char** argv, int first) {
    Options options;
    for (int i = first; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::fputs(kUsageText, stdout);
            std::exit(kDone);
        } else if (argument == "--logo") {
            options.logo = true;
        } else if (argument == "--json") {
            options.json = true;
        } else if (argument == "--metadata" || argument == "--copyright") {
            if (i + 1 >= argc) {
                Usage(argument + " needs a value");
                return std::nullopt;
            }
            const std::string value = argv[++i];
            options.metadataGiven = true;
            if (argument == "--copyright") {
                options.metadata.copyright = value;
                continue;
            }
            const auto policy = imageio::MetadataPolicyNamed(value);
            if (!policy) {
                Usage("--metadata takes keep, strip-gps or strip");
                return std::nullopt;
            }
            options.metadata.policy = *policy;
        } else if (argument == "--max-pixels") {
            const std::optional<long long> pixels = imageio::ParsePixelCount(i + 1 < argc ? argv[++i] : "");
            if (!pixels) {
                Usage("--max-pixels needs a positive whole number");
                return std::nullopt;
            }
            imageio::SetPixelLimit(*pixels);
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
    const auto kind = imageio::KindFor(Lowercase(name), imageio::kFormatName);
    if (!kind) return std::nullopt;
    return imageio::KindInfo(*kind).encoder;
}

render::ImageHandle Load(render::ImageRegistry& images, const std::string& path, bool logo,
                         imageio::LoadFailure& failure, imageio::PictureMetadata* metadata = nullptr) {
    if (!logo) return imageio::LoadPicture(images, kSlot, path, failure, metadata);
    marks::LogoLoad load = marks::LoadLogoPicture(images, kSlot, path);
    failure = load.failure;
    return load.handle;
}

void Warn(const std::string& path, const std::vector<std::string>& warnings) {
    for (const std::string& warning : warnings) std::fprintf(stderr, "velinor-cli: %s: %s\n", path.c_str(), warning.c_str());
}

int ReadFailed(const std::string& path, const imageio::LoadFailure& failure, bool logo) {
    std::fprintf(stderr, "velinor-cli: %s\n", tools::ReadProblem(path, failure, logo).c_str());
    return kPictureFailed;
}

// Why the output could not be written, for the one line that reports it.
std::string WriteProblem(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) return "is a folder";
        if (!S_ISREG(info.st_mode) && !S_ISCHR(info.st_mode)) return "is not a regular file or device; it is left as it is";
        if (::access(path.c_str(), W_OK) != 0) return "permission denied";
        return "could not be written (is the disk full?)";
    }
    const std::string::size_type slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return "cannot be written: no such folder " + folder;
    if (::access(folder.c_str(), W_OK) != 0) return "cannot be written: permission denied in " + folder;
    return "could not be written (is the disk full?)";
}

int Info(const Options& options) {
    if (options.files.size() != 1) return Usage("info takes one file");
    if (options.format || options.quality != imageio::kDefaultJpegQuality || options.metadataGiven) {
        return Usage("info takes no --format, --quality, --metadata or --copyright");
    }
    render::ImageRegistry images;
    imageio::LoadFailure failure;
    imageio::PictureMetadata metadata;
    const render::ImageHandle picture = Load(images, options.files[0], options.logo, failure, &metadata);
    if (picture == nullptr) return ReadFailed(options.files[0], failure, options.logo);
    Warn(options.files[0], metadata.warnings);
    if (options.json) {
        std::fputs(tools::InfoJson(options.files[0], *picture, metadata).c_str(), stdout);
    } else {
        std::printf("%dx%d\n", picture->width, picture->height);
    }
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
    // A JPEG or BMP made from a JPEG goes a band of rows at a time where the file allows; the
    // same bytes as decoding the whole picture and saving it.
    std::vector<std::string> warnings;
    if (!options.logo &&
        imageio::ConvertJpegRowByRow(input, output, *encoder, options.quality, options.metadata, &warnings)) {
        Warn(input, warnings);
        return kDone;
    }
    render::ImageRegistry images;
    imageio::LoadFailure failure;
    imageio::PictureMetadata metadata;
    const render::ImageHandle picture = Load(images, input, options.logo, failure, &metadata);
    if (picture == nullptr) return ReadFailed(input, failure, options.logo);
    Warn(input, metadata.warnings);
    if (imageio::SavePicture(picture, output, *encoder, options.quality, &metadata, options.metadata) != 1) {
        std::fprintf(stderr, "velinor-cli: %s %s\n", output.c_str(), WriteProblem(output).c_str());
        return kPictureFailed;
    }
    return kDone;
}

}  // namespace

static int Main(int argc, char** argv) {
    if (argc < 2) return Usage("");
    const std::string command = argv[1];
    if (command == "--help" || command == "-h") {
        // The stamp options are listed too: the manual page is made from this text.
        std::fputs(kUsageText, stdout);
        std::fputs(("\nstamp options:\n" + tools::StampOptionList()).c_str(), stdout);
        return kDone;
    }
    // A limit the environment sets wrongly would otherwise be passed over for the default.
    const char* limit = std::getenv(imageio::kPixelLimitVariable);
    if (limit != nullptr && *limit != '\0' && !imageio::ParsePixelCount(limit)) {
        std::fprintf(stderr, "velinor-cli: invalid value \"%s\" in %s: give a positive whole number of pixels\n", limit,
                     imageio::kPixelLimitVariable);
        return kUsage;
    }
    files::Use(files::LayoutFor(files::ThisProcess(files::OwnFolder())));
    if (command == "stamp") return tools::RunStampCommand(std::vector<std::string>(argv + 2, argv + argc));
    const std::optional<Options> options = ParseOptions(argc, argv, 2);
    if (!options) return kUsage;
    if (command == "info") return Info(*options);
    if (command == "convert") return Convert(*options);
    return Usage("unknown command " + command);
}

int main(int argc, char** argv) {
    return velinor::runtime::RunReportingExceptions([&] { return Main(argc, argv); });
}
