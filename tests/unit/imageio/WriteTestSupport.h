#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "render/RasterImage.h"
#include "tests/support/ScratchFolder.h"

namespace velinor::imageio::testing {

using test_support::ScratchFolder;

inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A picture whose every pixel differs from its neighbours in all three channels.
inline render::RasterImage Gradient(int width, int height) {
    render::RasterImage image;
    image.width = width;
    image.height = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.pixels.push_back(render::MakeColor((x * 37 + y * 11) % 256, (x * 5 + y * 71) % 256, (x * 91 + y * 3) % 256));
    return image;
}

// What ImageMagick reads from a file: its size and its pixels as RGB bytes, top row first.
struct Decoded {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

inline std::string RunCommand(const std::string& command) {
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char chunk[65536];
        std::size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) out.append(chunk, n);
        ::pclose(pipe);
    }
    return out;
}

inline Decoded DecodeWithImageMagick(const std::string& path) {
    Decoded d;
    const std::string size = RunCommand("identify -format '%w %h' '" + path + "' 2>/dev/null");
    if (std::sscanf(size.c_str(), "%d %d", &d.width, &d.height) != 2) return {};
    const std::string rgb = RunCommand("convert '" + path + "' -depth 8 rgb:- 2>/dev/null");
    d.rgb.assign(rgb.begin(), rgb.end());
    return d;
}

inline std::vector<std::uint8_t> RgbOf(const render::RasterImage& image) {
    std::vector<std::uint8_t> rgb;
    for (render::Color c : image.pixels) {
        rgb.push_back(static_cast<std::uint8_t>(render::RedOf(c)));
        rgb.push_back(static_cast<std::uint8_t>(render::GreenOf(c)));
        rgb.push_back(static_cast<std::uint8_t>(render::BlueOf(c)));
    }
    return rgb;
}

}  // namespace velinor::imageio::testing
