// Stamping a JPEG block by block: pictures made here with cjpeg, read back with djpeg, exiftool
// and libjpeg's own coefficient reader.
#include <gtest/gtest.h>

// jpeglib.h needs size_t and FILE declared first.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include <array>
#include <cmath>
#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "../imageio/DecodeTestSupport.h"
#include "tests/support/PeakMemory.h"
#include "imageio/Loader.h"
#include "render/FontTable.h"
#include "render/PixelStore.h"
#include "render/Random.h"
#include "stamping/LosslessStamp.h"
#include "stamping/MemoryBound.h"
#include "stamping/StampPicture.h"

namespace velinor::stamping {
namespace {

using imageio::decode_testing::Bytes;
using imageio::decode_testing::Capture;
using imageio::decode_testing::ReadBytes;

using imageio::decode_testing::TempFolder;
using imageio::decode_testing::ToolInstalled;
using imageio::decode_testing::WriteBytes;

struct Source {
    int width, height;
    const char* sampling;   // cjpeg -sample
    const char* options;    // more cjpeg options
    int orientation = 1;
};

// A photo-like pattern of soft colours (no channel near 0 or 255, so no colour clips), with
// noise that gives every block detail.
void WritePpm(const std::string& path, int width, int height) {
    std::mt19937 noise(7);
    std::uniform_int_distribution<int> jitter(-12, 12);
    Bytes bytes;
    const std::string head = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    bytes.assign(head.begin(), head.end());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bytes.push_back(static_cast<std::uint8_t>(120 + 40 * std::sin(x / 9.0) + jitter(noise)));
            bytes.push_back(static_cast<std::uint8_t>(125 + 35 * std::cos(y / 11.0) + jitter(noise)));
            bytes.push_back(static_cast<std::uint8_t>(115 + 30 * std::sin((x + y) / 13.0) + jitter(noise)));
        }
    }
    WriteBytes(path, bytes);
}

// An EXIF block holding only the orientation, put in after the JFIF marker.
void AddOrientation(const std::string& path, int orientation) {
    Bytes file = ReadBytes(path);
    const std::size_t app0End = 4 + (static_cast<std::size_t>(file[4]) << 8 | file[5]);
    const Bytes exif = {0xFF, 0xE1, 0x00, 0x22, 'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0,
                        0x12, 0x01, 3, 0, 1, 0, 0, 0, static_cast<std::uint8_t>(orientation), 0, 0, 0, 0, 0, 0, 0};
    file.insert(file.begin() + static_cast<std::ptrdiff_t>(app0End), exif.begin(), exif.end());
    WriteBytes(path, file);
}

struct Ppm {
    int width = 0, height = 0;
    Bytes rgb;
    const std::uint8_t* At(int x, int y) const { return &rgb[(static_cast<std::size_t>(y) * width + x) * 3]; }
};

// djpeg's picture of a file as stored, upsampling chroma without smoothing across blocks.
Ppm Djpeg(const std::string& path) {
    const std::optional<Bytes> out = Capture("djpeg -nosmooth -ppm '" + path + "'");
    Ppm ppm;
    if (!out) return ppm;
    int maxval = 0, consumed = 0;
    if (std::sscanf(reinterpret_cast<const char*>(out->data()), "P6 %d %d %d%n", &ppm.width, &ppm.height, &maxval,
                    &consumed) != 3) {
        return ppm;
    }
    ppm.rgb.assign(out->begin() + consumed + 1, out->end());
    return ppm;
}

// Every component's blocks as libjpeg reads them.
struct Component {
    int h = 1, v = 1, blocksWide = 0, blocksHigh = 0;
    std::array<int, 64> quant{};
    std::vector<std::array<short, 64>> blocks;
    const std::array<short, 64>& At(int row, int column) const {
        return blocks[static_cast<std::size_t>(row) * blocksWide + column];
    }
};
struct Coefficients {
    int maxH = 1, maxV = 1;
    bool progressive = false;
    unsigned restart = 0;
    std::vector<Component> components;
};

// A file the test wrote itself: the library's own error handling (which ends the test program)
// does for it.
Coefficients ReadCoefficients(const std::string& path) {
    Coefficients out;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return out;
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    jvirt_barray_ptr* arrays = jpeg_read_coefficients(&info);
    out = {info.max_h_samp_factor, info.max_v_samp_factor, info.progressive_mode != 0, info.restart_interval, {}};
    for (int c = 0; c < info.num_components; ++c) {
        const jpeg_component_info& comp = info.comp_info[c];
        Component component{comp.h_samp_factor, comp.v_samp_factor, static_cast<int>(comp.width_in_blocks),
                            static_cast<int>(comp.height_in_blocks), {}, {}};
        std::copy(comp.quant_table->quantval, comp.quant_table->quantval + 64, component.quant.begin());
        for (JDIMENSION row = 0; row < comp.height_in_blocks; ++row) {
            JBLOCKARRAY line = (*info.mem->access_virt_barray)(reinterpret_cast<j_common_ptr>(&info), arrays[c], row, 1,
                                                               FALSE);
            for (JDIMENSION column = 0; column < comp.width_in_blocks; ++column) {
                component.blocks.emplace_back();
                std::copy(line[0][column], line[0][column] + 64, component.blocks.back().begin());
            }
        }
        out.components.push_back(std::move(component));
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return out;
}

// The quantisation tables of a file's DQT segments, as their bytes.
Bytes QuantisationTables(const Bytes& file) {
    Bytes tables;
    std::size_t at = 2;
    while (at + 4 <= file.size() && file[at] == 0xFF) {
        const int marker = file[at + 1];
        const std::size_t length = static_cast<std::size_t>(file[at + 2]) << 8 | file[at + 3];
        if (marker == 0xDA) break;
        if (marker == 0xDB) tables.insert(tables.end(), file.begin() + at + 4, file.begin() + at + 2 + length);
        at += 2 + length;
    }
    return tables;
}

// Where an upright pixel of an orientation-6 picture is stored (the picture is stored turned a
// quarter anticlockwise; a viewer turns it clockwise).
void StoredPlace(int orientation, int storedHeight, int ux, int uy, int& x, int& y) {
    if (orientation == 6) {
        x = uy;
        y = storedHeight - 1 - ux;
    } else {
        x = ux;
        y = uy;
    }
}

class LosslessStampTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ToolInstalled("cjpeg"));
        ASSERT_TRUE(ToolInstalled("djpeg"));
        ASSERT_TRUE(ToolInstalled("exiftool"));
    }

    std::string Make(const Source& source) {
        const std::string ppm = folder_ / "source.ppm", jpeg = folder_ / "source.jpg";
        WritePpm(ppm, source.width, source.height);
        EXPECT_TRUE(imageio::decode_testing::Run(std::string("cjpeg -quality 90 -sample ") + source.sampling + " " + source.options +
                        " -outfile '" + jpeg + "' '" + ppm + "'"));
        if (source.orientation != 1) AddOrientation(jpeg, source.orientation);
        return jpeg;
    }

    // The iMCUs (as stored, numbered row by row) holding a pixel the marks can change: one that
    // a white or a black picture of the upright size does not keep.
    std::set<int> Reached(const StampSettings& settings, const Coefficients& source, int orientation) {
        const Ppm stored = Djpeg(folder_ / "source.jpg");
        const int storedWidth = stored.width, storedHeight = stored.height;
        const int width = orientation == 6 ? storedHeight : storedWidth, height = orientation == 6 ? storedWidth : storedHeight;
        const int mcuWidth = source.maxH * 8, mcuHeight = source.maxV * 8;
        const int columns = (storedWidth + mcuWidth - 1) / mcuWidth;
        std::set<int> reached;
        for (const render::Color ground : {render::kWhite, render::kBlack}) {
            render::RasterImage picture{width, height, 32, render::MakePixels(std::size_t(width) * height, ground), {}};
            render::RandomSource random;
            MarkDrawer drawer(fonts_, random);
            DrawStamp(picture, settings, resources_, drawer, PictureFacts{});
            for (int uy = 0; uy < height; ++uy) {
                for (int ux = 0; ux < width; ++ux) {
                    if (picture.At(ux, uy) == ground) continue;
                    int x = 0, y = 0;
                    StoredPlace(orientation, storedHeight, ux, uy, x, y);
                    reached.insert((y / mcuHeight) * columns + x / mcuWidth);
                }
            }
        }
        return reached;
    }

    // Stamps the source both ways and checks the block-by-block output against it.
    void Check(const Source& made, StampSettings settings) {
        const std::string source = Make(made), output = folder_ / "stamped.jpg";
        imageio::PictureMetadata metadata;
        LosslessJpeg lossless;
        std::string notice;
        ASSERT_EQ(lossless.Open(source, metadata, notice), LosslessJpeg::Opened::Ready) << notice;
        render::RandomSource random;
        MarkDrawer drawer(fonts_, random);
        ASSERT_TRUE(lossless.Stamp(settings, resources_, drawer, PictureFacts{}, metadata, output));

        const Coefficients before = ReadCoefficients(source), after = ReadCoefficients(output);
        ASSERT_EQ(before.components.size(), 3u);
        ASSERT_EQ(after.components.size(), 3u);
        EXPECT_EQ(QuantisationTables(ReadBytes(source)), QuantisationTables(ReadBytes(output)));
        EXPECT_EQ(after.progressive, before.progressive);
        EXPECT_EQ(after.restart, before.restart);
        EXPECT_EQ(after.maxH, before.maxH);
        EXPECT_EQ(after.maxV, before.maxV);
        if (made.orientation != 1) {
            const std::optional<Bytes> tag = Capture("exiftool -n -s3 -Orientation '" + output + "'");
            ASSERT_TRUE(tag);
            EXPECT_EQ(std::string(tag->begin(), tag->end()), std::to_string(made.orientation) + "\n");
        }

        const std::set<int> reached = Reached(settings, before, made.orientation);
        const Ppm shownBefore = Djpeg(source), shownAfter = Djpeg(output);
        ASSERT_EQ(shownBefore.width, made.width);
        ASSERT_EQ(shownAfter.width, made.width);
        ASSERT_EQ(shownAfter.height, made.height);
        const int mcuWidth = before.maxH * 8, mcuHeight = before.maxV * 8;
        const int columns = (made.width + mcuWidth - 1) / mcuWidth;
        int differing = 0;
        for (int y = 0; y < made.height; ++y) {
            for (int x = 0; x < made.width; ++x) {
                if (reached.count((y / mcuHeight) * columns + x / mcuWidth) != 0) continue;
                differing += std::equal(shownBefore.At(x, y), shownBefore.At(x, y) + 3, shownAfter.At(x, y)) ? 0 : 1;
            }
        }
        EXPECT_EQ(differing, 0) << "pixels outside the marks' iMCUs that changed";

        // The blocks outside those iMCUs keep their coefficients; inside, the luma is within a
        // quantisation step of the picture the ordinary path draws.
        imageio::PictureMetadata ignored;
        imageio::LoadResult drawn = imageio::DecodePictureFile(source, nullptr, &ignored);
        ASSERT_TRUE(drawn.image);
        render::RandomSource again;
        MarkDrawer ordinary(fonts_, again);
        DrawStamp(*drawn.image, settings, resources_, ordinary, PictureFacts{});
        int changedOutside = 0, beyondAStep = 0, compared = 0;
        double worst = 0;
        for (std::size_t c = 0; c < 3; ++c) {
            const Component& was = before.components[c];
            const Component& now = after.components[c];
            const int blockWidth = 8 * before.maxH / was.h, blockHeight = 8 * before.maxV / was.v;
            for (int row = 0; row < was.blocksHigh; ++row) {
                for (int column = 0; column < was.blocksWide; ++column) {
                    const int x = column * blockWidth, y = row * blockHeight;
                    const bool inside = reached.count((y / mcuHeight) * columns + x / mcuWidth) != 0;
                    if (!inside) {
                        changedOutside += was.At(row, column) == now.At(row, column) ? 0 : 1;
                        continue;
                    }
                    if (c != 0 || x + 8 > made.width || y + 8 > made.height) continue;
                    // The luma block of the ordinary path's pixels, transformed and quantised.
                    for (int v = 0; v < 8; ++v) {
                        for (int u = 0; u < 8; ++u) {
                            double sum = 0;
                            for (int j = 0; j < 8; ++j) {
                                for (int i = 0; i < 8; ++i) {
                                    int ux = x + i, uy = y + j;
                                    if (made.orientation == 6) {
                                        ux = made.height - 1 - (y + j);
                                        uy = x + i;
                                    }
                                    const render::Color p = drawn.image->At(ux, uy);
                                    const double luma = 0.299 * render::RedOf(p) + 0.587 * render::GreenOf(p) +
                                                        0.114 * render::BlueOf(p) - 128;
                                    sum += luma * std::cos((2 * i + 1) * u * M_PI / 16) *
                                           std::cos((2 * j + 1) * v * M_PI / 16);
                                }
                            }
                            const double cu = u == 0 ? std::sqrt(0.5) : 1, cv = v == 0 ? std::sqrt(0.5) : 1;
                            const double wanted = cu * cv * sum / 4 / was.quant[static_cast<std::size_t>(v * 8 + u)];
                            ++compared;
                            const int got = now.At(row, column)[static_cast<std::size_t>(v * 8 + u)];
                            worst = std::max(worst, std::abs(got - wanted));
                            beyondAStep += std::abs(got - std::lround(wanted)) > 1 ? 1 : 0;
                        }
                    }
                }
            }
        }
        EXPECT_EQ(changedOutside, 0) << "blocks outside the marks' iMCUs whose coefficients changed";
        // A mark that shows nothing reaches no iMCU and so changes no coefficient.
        if (reached.empty()) return;
        EXPECT_GT(compared, 0);
        EXPECT_EQ(beyondAStep, 0) << "luma coefficients more than a step from the ordinary path, of " << compared << "; worst " << worst;
        EXPECT_GT(lossless.BlocksChanged(), 0);
    }

    static StampSettings Text() {
        StampSettings settings;
        TextMarkSettings text;
        text.text = "Velinor 2026";
        text.font.pointSize = 14;
        text.font.colour = render::MakeColor(250, 250, 250);
        text.anchor = marks::Anchor::BottomRight;
        text.outline = 1;
        settings.text = text;
        settings.margins.x = Length{5, false};
        settings.margins.y = Length{3, false};
        return settings;
    }

    TempFolder folder_;
    render::FontTable fonts_;
    StampResources resources_;
};

TEST_F(LosslessStampTest, ATextMarkChangesOnlyItsBlocksInEverySamplingAndCoding) {
    for (const Source& source : {Source{203, 157, "1x1", ""}, Source{250, 131, "2x1", "-progressive"},
                                 Source{301, 189, "2x2", "-restart 1"}, Source{219, 133, "2x2", "-optimize"},
                                 Source{187, 205, "2x2", "-progressive -restart 2"}}) {
        SCOPED_TRACE(std::string(source.sampling) + " " + source.options + " " + std::to_string(source.width));
        Check(source, Text());
    }
}

TEST_F(LosslessStampTest, AnUprightMarkGoesIntoTheTurnedBlocksOfAnOrientedPicture) {
    Check(Source{227, 171, "2x2", "", 6}, Text());
    Check(Source{163, 250, "1x1", "-progressive", 6}, Text());
}

TEST_F(LosslessStampTest, AFrameChangesTheBlocksOfItsBandsOnlyAndAnInvisibleOneNone) {
    StampSettings settings;
    CircleFrameSettings circles;
    circles.params.border = 6;
    circles.params.maxRadius = 4;
    circles.params.colour = render::MakeColor(200, 60, 60);
    circles.seed = 11;
    settings.circles = circles;
    Check(Source{261, 197, "2x2", ""}, settings);
    settings.circles->transparency = 255;
    Check(Source{203, 157, "2x2", "-progressive"}, settings);
}

// A worker's memory bound for the block-by-block path holds what the path takes: the most of
// it, for a photo without chroma subsampling, whose coefficients are six bytes a pixel. The
// drawer is used once before, so that loading the font does not count.
TEST_F(LosslessStampTest, AStampBlockByBlockStaysWithinItsWorkersMemoryBound) {
    const Source made{3600, 2400, "1x1", ""};
    const std::string source = Make(made), output = folder_ / "stamped.jpg";
    render::RandomSource random;
    MarkDrawer drawer(fonts_, random);
    render::RasterImage small{64, 64, 32, render::MakePixels(64 * 64, render::kBlack), {}};
    DrawStamp(small, Text(), resources_, drawer, PictureFacts{});
    bool stamped = false;
    const long long growth = testing_support::PeakGrowth([&] {
        imageio::PictureMetadata metadata;
        LosslessJpeg lossless;
        std::string notice;
        stamped = lossless.Open(source, metadata, notice) == LosslessJpeg::Opened::Ready &&
                  lossless.Stamp(Text(), resources_, drawer, PictureFacts{}, metadata, output);
    });
    ASSERT_TRUE(stamped);
    if (!testing_support::kPeakMeasurable || growth < 0) GTEST_SKIP() << "the peak memory cannot be measured here";
    const auto bound = static_cast<long long>(BytesInFlight({made.width, made.height}, true));
    EXPECT_LE(growth, bound) << "peak " << growth / made.width / made.height << " bytes a pixel";
}

}  // namespace
}  // namespace velinor::stamping
