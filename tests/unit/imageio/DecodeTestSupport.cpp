#include "DecodeTestSupport.h"

#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace velinor::imageio::decode_testing {

::testing::AssertionResult ToolInstalled(const std::string& name) {
    if (Run("command -v " + name)) return ::testing::AssertionSuccess();
    const std::string package = name == "djpeg"      ? "libjpeg-turbo-progs"
                                : name == "transicc" ? "liblcms2-utils"
                                : name == "exiftool" ? "libimage-exiftool-perl"
                                                     : "imagemagick";
    return ::testing::AssertionFailure() << name << " is not installed (Debian package " << package
                                         << "); scripts/install-deps installs it";
}

bool Run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

std::optional<Bytes> Capture(const std::string& command) {
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) return std::nullopt;
    Bytes out;
    std::array<std::uint8_t, 65536> buffer;
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.insert(out.end(), buffer.data(), buffer.data() + n);
    // ImageMagick exits with 1 after a warning (it calls a run-length jump an early end of
    // file) while writing the whole picture; what it wrote is still checked by its size.
    if (pclose(pipe) != 0 && out.empty()) return std::nullopt;
    return out;
}

Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

RgbPicture Pattern(int width, int height) {
    RgbPicture picture{width, height, {}};
    std::mt19937 random(12345);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.rgb.push_back(static_cast<std::uint8_t>(x * 255 / std::max(1, width - 1)));
            picture.rgb.push_back(static_cast<std::uint8_t>(y * 255 / std::max(1, height - 1)));
            picture.rgb.push_back(static_cast<std::uint8_t>(random() & 0xFF));
        }
    }
    return picture;
}

std::uint8_t PatternAlpha(int x, int y) {
    static constexpr std::uint8_t kLevels[5] = {0, 255, 100, 200, 255};
    return kLevels[(x / 3 + y) % 5];
}

void WritePatternPam(const std::string& path, int width, int height, bool withAlpha) {
    const RgbPicture picture = Pattern(width, height);
    std::ostringstream header;
    header << "P7\nWIDTH " << width << "\nHEIGHT " << height << "\nDEPTH " << (withAlpha ? 4 : 3)
           << "\nMAXVAL 255\nTUPLTYPE " << (withAlpha ? "RGB_ALPHA" : "RGB") << "\nENDHDR\n";
    const std::string text = header.str();
    Bytes bytes(text.begin(), text.end());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
            bytes.insert(bytes.end(), picture.rgb.begin() + static_cast<std::ptrdiff_t>(i),
                         picture.rgb.begin() + static_cast<std::ptrdiff_t>(i + 3));
            if (withAlpha) bytes.push_back(PatternAlpha(x, y));
        }
    }
    WriteBytes(path, bytes);
}

namespace {

// Reads a binary PPM (P6, maxval 255) as written by convert and djpeg.
std::optional<RgbPicture> ParsePpm(const Bytes& bytes) {
    std::size_t pos = 0;
    auto token = [&]() {
        std::string word;
        while (pos < bytes.size()) {
            const char c = static_cast<char>(bytes[pos]);
            if (c == '#') {
                while (pos < bytes.size() && bytes[pos] != '\n') ++pos;
            } else if (std::isspace(static_cast<unsigned char>(c))) {
                if (!word.empty()) break;
                ++pos;
            } else {
                word += c;
                ++pos;
            }
        }
        return word;
    };
    if (token() != "P6") return std::nullopt;
    RgbPicture picture;
    picture.width = std::atoi(token().c_str());
    picture.height = std::atoi(token().c_str());
    if (token() != "255") return std::nullopt;
    ++pos;  // the single whitespace after the maximum
    const std::size_t size = static_cast<std::size_t>(picture.width) * picture.height * 3;
    if (bytes.size() - pos < size) return std::nullopt;
    picture.rgb.assign(bytes.begin() + static_cast<std::ptrdiff_t>(pos),
                       bytes.begin() + static_cast<std::ptrdiff_t>(pos + size));
    return picture;
}

std::string Quote(const std::string& text) { return "'" + text + "'"; }

}  // namespace

std::optional<RgbPicture> ConvertReference(const std::string& file, bool autoOrient) {
    const std::string frame = file.find('[') == std::string::npos ? file + "[0]" : file;
    const auto output = Capture("convert " + Quote(frame) + (autoOrient ? " -auto-orient" : "") +
                                " -alpha off -depth 8 ppm:-");
    if (!output) return std::nullopt;
    return ParsePpm(*output);
}

std::optional<Bytes> ConvertAlpha(const std::string& file) {
    return Capture("convert " + Quote(file) + " -alpha extract -depth 8 gray:-");
}

std::optional<RgbPicture> DjpegReference(const std::string& file) {
    const auto output = Capture("djpeg -rgb -ppm " + Quote(file));
    if (!output) return std::nullopt;
    return ParsePpm(*output);
}

RgbPicture ToRgb(const render::RasterImage& image) {
    RgbPicture picture{image.width, image.height, {}};
    picture.rgb.reserve(image.pixels.size() * 3);
    for (render::Color c : image.pixels) {
        picture.rgb.push_back(static_cast<std::uint8_t>(render::RedOf(c)));
        picture.rgb.push_back(static_cast<std::uint8_t>(render::GreenOf(c)));
        picture.rgb.push_back(static_cast<std::uint8_t>(render::BlueOf(c)));
    }
    return picture;
}

int MaxChannelDifference(const RgbPicture& a, const RgbPicture& b) {
    if (a.width != b.width || a.height != b.height || a.rgb.size() != b.rgb.size()) return -1;
    int worst = 0;
    for (std::size_t i = 0; i < a.rgb.size(); ++i) worst = std::max(worst, std::abs(a.rgb[i] - b.rgb[i]));
    return worst;
}

void Put16(Bytes& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(Bytes& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

}  // namespace velinor::imageio::decode_testing

namespace velinor::imageio::decode_testing {

namespace {

Bytes HeaderAndPalette(const BmpFields& fields) {
    Bytes out;
    Put32(out, fields.headerSize);
    if (fields.headerSize == 12) {
        Put16(out, static_cast<unsigned>(fields.width));
        Put16(out, static_cast<unsigned>(fields.height));
        Put16(out, 1);
        Put16(out, static_cast<unsigned>(fields.bits));
    } else {
        Put32(out, static_cast<std::uint32_t>(fields.width));
        Put32(out, static_cast<std::uint32_t>(fields.height));
        Put16(out, 1);
        Put16(out, static_cast<unsigned>(fields.bits));
        Put32(out, fields.compression);
        Put32(out, static_cast<std::uint32_t>(fields.stream.size()));  // compressed size; 0 when plain
        Put32(out, 2835);
        Put32(out, 2835);
        Put32(out, fields.coloursUsed);
        Put32(out, 0);
        // Masks go inside a larger header as far as it reaches, the rest after it.
        for (std::uint32_t mask : fields.masks) Put32(out, mask);
        if (out.size() < fields.headerSize) out.resize(fields.headerSize, 0);
    }
    for (std::uint32_t entry : fields.palette) {
        out.insert(out.end(), {std::uint8_t(entry), std::uint8_t(entry >> 8), std::uint8_t(entry >> 16)});
        if (fields.headerSize != 12) out.push_back(0);
    }
    return out;
}

Bytes PixelData(const BmpFields& fields) {
    if (!fields.stream.empty()) return fields.stream;
    Bytes out;
    for (const Bytes& row : fields.rows) {
        out.insert(out.end(), row.begin(), row.end());
        out.resize(out.size() + (4 - row.size() % 4) % 4, 0);
    }
    return out;
}

}  // namespace

Bytes BuildDib(const BmpFields& fields) {
    Bytes out = HeaderAndPalette(fields);
    const Bytes pixels = PixelData(fields);
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

Bytes BuildBmp(const BmpFields& fields) {
    const Bytes head = HeaderAndPalette(fields);
    const Bytes pixels = PixelData(fields);
    Bytes out = {'B', 'M'};
    Put32(out, static_cast<std::uint32_t>(14 + head.size() + pixels.size()));
    Put32(out, 0);
    Put32(out, static_cast<std::uint32_t>(14 + head.size()));
    out.insert(out.end(), head.begin(), head.end());
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

}  // namespace velinor::imageio::decode_testing
