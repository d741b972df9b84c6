// Writing a JPEG while it is still being decoded: the rows held back must cover every row the
// marks change, and the file must be the one written after the whole picture was decoded and
// drawn. Pictures are made with cjpeg and exiftool.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "../imageio/DecodeTestSupport.h"
#include "imageio/Loader.h"
#include "imageio/Writer.h"
#include "marks/TextMark.h"
#include "render/FontTable.h"
#include "render/PixelStore.h"
#include "render/Random.h"
#include "stamping/EncodeBehind.h"
#include "stamping/StagedPicture.h"
#include "stamping/StampMarks.h"

namespace velinor::stamping {
namespace {

// Bytes, files, the scratch folder and the outside tools.
using namespace imageio::decode_testing;

constexpr marks::Anchor kAnchors[] = {marks::Anchor::Centre,  marks::Anchor::TopCentre,  marks::Anchor::BottomCentre,
                                      marks::Anchor::TopLeft, marks::Anchor::TopRight,   marks::Anchor::BottomLeft,
                                      marks::Anchor::BottomRight};

// The rows draw changes on a picture of any of three flat colours: a mark pixel that happens to
// equal one ground differs from the others.
render::RowSpan ChangedRows(int width, int height, const std::function<void(render::RasterImage&)>& draw) {
    render::RowSpan changed;
    for (const render::Color ground : {render::kWhite, render::kBlack, render::MakeColor(90, 160, 40)}) {
        render::RasterImage picture{width, height, 32, render::MakePixels(std::size_t(width) * height, ground), {}};
        draw(picture);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (picture.At(x, y) == ground) continue;
                changed = changed.Joined({y, y + 1});
                break;
            }
        }
    }
    return changed;
}

// The bytes with every date written now blanked out (EXIF "2026:12:09 18:00:00", XMP
// "2026-12-09T18:00:00"): the clock may tick between two writes.
Bytes Undated(Bytes bytes) {
    const std::string shape = "dddd-dd-ddTdd:dd:dd";
    const auto fits = [&](std::size_t at) {
        for (std::size_t i = 0; i < shape.size(); ++i) {
            const char c = static_cast<char>(bytes[at + i]);
            const bool ok = shape[i] == 'd'   ? c >= '0' && c <= '9'
                            : shape[i] == 'T' ? c == 'T' || c == ' '
                                              : c == '-' || c == ':';
            if (!ok) return false;
        }
        return true;
    };
    for (std::size_t at = 0; at + shape.size() <= bytes.size(); ++at) {
        if (fits(at)) std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), shape.size(), '#');
    }
    return bytes;
}

std::string Shown(render::RowSpan rows) { return "rows " + std::to_string(rows.top) + ".." + std::to_string(rows.bottom); }

TEST(MarkRows, TheTextsRowsHoldEveryRowItChangesAtEveryAnchorAndLook) {
    render::FontTable fonts;
    render::RandomSource random;
    MarkDrawer drawer(fonts, random);
    struct Look {
        const char* text;
        int points;
        int style;
        int outline;
        bool shadow;
    };
    // Accents and rings reach above the cell, descenders and the shadow below it, an outline
    // both ways; the last text is larger than the picture.
    const Look looks[] = {
        {"Velinor 2026", 14, 0, 0, false},
        {"\xC7\xBA\xC3\x8A\xE1\xB8\x88 gjpq|", 40, marks::kStyleItalic, 0, false},   // ǺÊḈ
        {"\xC3\x85gy", 30, marks::kStyleUnderline | marks::kStyleBold | marks::kStyleStrikeOut, 3, true},
        {"\xC3\x85j", 200, 0, 2, true},
    };
    const int width = 320, height = 240;
    for (const Look& look : looks) {
        for (const marks::Anchor anchor : kAnchors) {
            for (const Margins& margins : {Margins{}, Margins{Length{7, false}, Length{5, true}}}) {
                TextMarkSettings settings;
                settings.text = look.text;
                settings.font.face = "DejaVu Sans";
                settings.font.pointSize = look.points;
                settings.font.style = look.style;
                settings.font.colour = render::MakeColor(250, 20, 20);
                settings.outline = look.outline;
                settings.shadow = look.shadow;
                settings.anchor = anchor;
                const render::RowSpan rows = drawer.TextRows(width, height, settings, margins, look.text);
                const render::RowSpan changed = ChangedRows(width, height, [&](render::RasterImage& picture) {
                    drawer.DrawText(picture, settings, margins, look.text);
                });
                SCOPED_TRACE(std::string(look.text) + " at anchor " + std::to_string(static_cast<int>(anchor)) +
                             ": given " + Shown(rows) + ", changed " + Shown(changed));
                ASSERT_FALSE(changed.Empty());
                EXPECT_LE(rows.top, changed.top);
                EXPECT_GE(rows.bottom, changed.bottom);
                // Beyond what it changes, the span holds at most rows of glyph bitmaps left blank.
                if (look.points <= 40) {
                    EXPECT_LE(rows.bottom - rows.top, changed.bottom - changed.top + 8);
                }
            }
        }
    }
    // No text, no rows.
    TextMarkSettings empty;
    EXPECT_TRUE(drawer.TextRows(width, height, empty, {}, "").Empty());
}

TEST(MarkRows, TheLogosRowsAreTheRowsItCovers) {
    render::RasterImage logo{37, 23, 32, render::MakePixels(37 * 23, render::MakeColor(10, 200, 230)), {}};
    const LoadedLogo blended{&logo, false, render::kBlack};
    const LoadedLogo keyed{&logo, true, render::MakeColor(1, 2, 3)};
    const int width = 300, height = 200;
    render::FontTable fonts;
    render::RandomSource random;
    MarkDrawer drawer(fonts, random);
    for (const marks::Anchor anchor : kAnchors) {
        for (const LoadedLogo& loaded : {blended, keyed}) {
            for (const std::optional<Length> scaled : {std::optional<Length>{}, std::optional<Length>{Length{30, true}},
                                                      std::optional<Length>{Length{700, false}}}) {
                LogoMarkSettings settings;
                settings.anchor = anchor;
                settings.transparency = 100;
                settings.width = scaled;
                const Margins margins{Length{4, false}, Length{9, false}};
                const render::RowSpan rows = MarkDrawer::LogoRows(width, height, settings, loaded, margins);
                const render::RowSpan changed = ChangedRows(width, height, [&](render::RasterImage& picture) {
                    drawer.DrawLogo(picture, settings, loaded, margins);
                });
                SCOPED_TRACE("anchor " + std::to_string(static_cast<int>(anchor)) + ": given " + Shown(rows) +
                             ", changed " + Shown(changed));
                EXPECT_EQ(rows.top, changed.top);
                EXPECT_EQ(rows.bottom, changed.bottom);
            }
        }
    }
    EXPECT_TRUE(MarkDrawer::LogoRows(width, height, LogoMarkSettings{}, LoadedLogo{}, {}).Empty());
}

class EncodeBehindTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ToolInstalled("cjpeg"));
        ASSERT_TRUE(ToolInstalled("exiftool"));
    }

    // A JPEG of the test pattern made by cjpeg with options.
    std::string Jpeg(const std::string& name, int width, int height, const std::string& options) {
        const RgbPicture pattern = Pattern(width, height);
        const std::string head = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
        Bytes ppm(head.begin(), head.end());
        ppm.insert(ppm.end(), pattern.rgb.begin(), pattern.rgb.end());
        WriteBytes(folder_ / "pattern.ppm", ppm);
        const std::string jpeg = folder_ / name;
        EXPECT_TRUE(imageio::decode_testing::Run("cjpeg " + options + " -outfile '" + jpeg + "' '" + (folder_ / "pattern.ppm") + "'"));
        return jpeg;
    }

    // The bytes StagePicture writes for source, given the marks' rows or not.
    Bytes Staged(const std::string& source, const DrawMarks& draw, const MarkRows& marks, const std::string& name) {
        StageChoices choices;
        choices.quality = 8;
        StagedPicture staged = StagePicture(source, folder_ / name, choices, draw, marks);
        EXPECT_EQ(staged.status, StagedPicture::Status::Ready) << source;
        if (!staged.file || !staged.file->Commit()) return {};
        return ReadBytes(folder_ / name);
    }

    // Stamps source both ways and compares the files, the modification dates written aside.
    void ExpectTheSameFile(const std::string& source, const std::function<void(render::RasterImage&)>& draw,
                           const MarkRows& marks) {
        const auto drawn = [&](render::RasterImage& picture) {
            draw(picture);
            return true;
        };
        const Bytes behind = Staged(source, drawn, marks, "behind.jpg");
        const Bytes after = Staged(source, drawn, {}, "after.jpg");
        ASSERT_FALSE(after.empty());
        EXPECT_TRUE(Undated(behind) == Undated(after)) << source << ": " << behind.size() << " bytes against "
                                                       << after.size();
    }

    TextMarkSettings Text(marks::Anchor anchor) const {
        TextMarkSettings settings;
        settings.text = "Velinor \xC3\x85gy";
        settings.font.face = "DejaVu Sans";
        settings.font.pointSize = 28;
        settings.font.colour = render::MakeColor(250, 250, 250);
        settings.outline = 2;
        settings.anchor = anchor;
        return settings;
    }

    TempFolder folder_;
    render::FontTable fonts_;
    render::RandomSource random_;
    MarkDrawer drawer_{fonts_, random_};
};

TEST_F(EncodeBehindTest, AnUprightJpegIsWrittenWhileDecodedIntoTheFileWrittenAfter) {
    const std::string source = Jpeg("source.jpg", 1203, 901, "-quality 85 -sample 2x2");
    imageio::PictureMetadata metadata;
    const TextMarkSettings text = Text(marks::Anchor::BottomRight);
    EncodeBehind behind(folder_ / "behind.jpg", 8, {}, metadata,
                        [&](int width, int height) { return drawer_.TextRows(width, height, text, {}, text.text); });
    imageio::LoadResult loaded = imageio::DecodePictureFile(source, &behind, &metadata);
    ASSERT_TRUE(loaded.image);
    ASSERT_TRUE(behind.Writing(*loaded.image));
    drawer_.DrawText(*loaded.image, text, {}, text.text);
    const std::unique_ptr<imageio::AtomicFile> file = behind.Drawn();
    ASSERT_TRUE(file && file->Commit());
    ASSERT_EQ(imageio::SavePicture(&*loaded.image, folder_ / "after.jpg", imageio::kEncoderJpeg, 8, &metadata), 1);
    EXPECT_TRUE(ReadBytes(folder_ / "behind.jpg") == ReadBytes(folder_ / "after.jpg"));
}

TEST_F(EncodeBehindTest, EveryKindOfSourceAndMarkGivesTheSameFileAsWritingAfterTheMarks) {
    std::vector<std::string> sources = {
        Jpeg("baseline.jpg", 1203, 901, "-quality 85 -sample 2x2"),
        Jpeg("progressive.jpg", 640, 1000, "-quality 92 -sample 1x1 -progressive"),
        Jpeg("tagged.jpg", 500, 333, "-quality 80 -sample 2x1"),
        Jpeg("turned.jpg", 400, 300, "-quality 80"),
    };
    ASSERT_TRUE(imageio::decode_testing::Run("exiftool -q -overwrite_original -Artist='A. Photographer' -XMP-dc:Title='Harbour' '" +
                    sources[2] + "'"));
    // A turned picture's rows do not come upright, so it is written after it is drawn.
    ASSERT_TRUE(imageio::decode_testing::Run("exiftool -q -overwrite_original -n -Orientation=6 '" + sources[3] + "'"));
    // Nor does a PNG's.
    imageio::LoadResult png = imageio::DecodePictureFile(sources[0]);
    ASSERT_TRUE(png.image);
    ASSERT_EQ(imageio::SavePicture(&*png.image, folder_ / "source.png", imageio::kEncoderPng), 1);
    sources.push_back(folder_ / "source.png");

    render::RasterImage logo{90, 40, 32, render::MakePixels(90 * 40, render::MakeColor(30, 60, 200)), {}};
    const LoadedLogo loaded{&logo, false, render::kBlack};
    for (const std::string& source : sources) {
        for (const marks::Anchor anchor : {marks::Anchor::BottomRight, marks::Anchor::TopLeft, marks::Anchor::Centre}) {
            SCOPED_TRACE(source + " at anchor " + std::to_string(static_cast<int>(anchor)));
            const TextMarkSettings text = Text(anchor);
            ExpectTheSameFile(
                source, [&](render::RasterImage& picture) { drawer_.DrawText(picture, text, {}, text.text); },
                [&](int width, int height) { return drawer_.TextRows(width, height, text, {}, text.text); });
            LogoMarkSettings settings;
            settings.anchor = anchor;
            settings.transparency = 64;
            ExpectTheSameFile(
                source, [&](render::RasterImage& picture) { drawer_.DrawLogo(picture, settings, loaded, {}); },
                [&](int width, int height) { return MarkDrawer::LogoRows(width, height, settings, loaded, {}); });
        }
    }
}

TEST_F(EncodeBehindTest, APictureThatFailsHalfwayOrIsNotDrawnLeavesNoFile) {
    const std::string whole = Jpeg("whole.jpg", 800, 1200, "-quality 85");
    Bytes cut = ReadBytes(whole);
    cut.resize(cut.size() / 2);
    WriteBytes(folder_ / "cut.jpg", cut);
    const MarkRows lastRow = [](int, int height) { return render::RowSpan{height - 1, height}; };
    StageChoices choices;
    for (const bool drawn : {true, false}) {
        const std::string source = drawn ? folder_ / "cut.jpg" : whole;
        StagedPicture staged = StagePicture(
            source, folder_ / "out.jpg", choices, [&](render::RasterImage&) { return drawn; }, lastRow);
        EXPECT_EQ(staged.status, drawn ? StagedPicture::Status::NotLoaded : StagedPicture::Status::NotDrawn);
        EXPECT_FALSE(staged.file);
    }
    std::vector<std::string> names = folder_.Names();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"cut.jpg", "pattern.ppm", "whole.jpg"}));
}

}  // namespace
}  // namespace velinor::stamping
