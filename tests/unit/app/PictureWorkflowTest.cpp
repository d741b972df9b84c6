// Rendering from the picture file, and saving the result, on the in-memory platform driven by a
// script. The renders are run by the test between start-up and the loop, with a small effect of
// its own, so that saving is checked independently of any mark.
#include <sys/resource.h>

#include <csignal>
#include <cstdio>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "TestFolder.h"
#include "app/EventLoop.h"
#include "app/RenderCycle.h"
#include "app/Thumbnails.h"
#include "app/StartUp.h"
#include "imageio/Writer.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/script/Script.h"
#include "platform/script/ScriptedPlatform.h"
#include "app/ImageNumbers.h"
#include "render/Scale.h"

namespace velinor::app {
namespace {

namespace fs = std::filesystem;
namespace pic = app::pic;
using testing::TestFolder;

constexpr render::Color kRed = 0x0000FF;
constexpr render::Color kBlue = 0xFF0000;

// Writes a width x height BMP of one colour; the test's input picture.
void WritePicture(const std::string& path, int width, int height, render::Color colour) {
    render::RasterImage image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<std::size_t>(width) * height, colour);
    ASSERT_EQ(imageio::SavePicture(&image, path, imageio::kEncoderBmp), 1);
}

class PictureWorkflow : public ::testing::Test {
protected:
    PictureWorkflow() {
        fs::copy_file(std::string(VELINOR_SOURCE_DIR) + "/resources/lang.prf", "lang.prf");
        fs::create_directory("data");
        fs::copy_file(std::string(VELINOR_STAGE_DIR) + "/data/image323.so", "data/image323.so");
        WritePicture("photo.bmp", 400, 300, 0x808080);
    }

    // Runs the program: start-up, then prepare (renders), then the loop on the script's lines.
    std::string Run(const std::string& scriptText, const std::function<void(ProgramState&)>& prepare) {
        platform::HeadlessPlatform backend;
        auto parsed = platform::ParseScript(scriptText);
        EXPECT_FALSE(parsed.error.has_value());
        std::ostringstream log;
        platform::ScriptedPlatform scripted(backend, backend, std::move(parsed.script), log);
        ProgramState state(scripted, {});
        if (!StartUp(state)) return log.str();
        prepare(state);
        RunEventLoop(state);
        return log.str();
    }

    // A render that marks one pixel, so that the result differs from the picture file.
    static RenderOutcome Render(ProgramState& state, int x, render::Color colour) {
        return RenderCycle(state, [x, colour](render::RasterImage& work) {
            work.At(x, 0) = colour;
            return true;
        });
    }

    static std::function<void(ProgramState&)> RenderedPhoto() {
        return [](ProgramState& state) {
            state.shell.CurrentFile = "photo.bmp";
            EXPECT_EQ(Render(state, 0, kRed), RenderOutcome::Published);
        };
    }

    std::string Abs(const std::string& name) const { return (folder.Path() / name).string(); }

    TestFolder folder;
};

std::string Head(const std::string& path, std::size_t count) { return TestFolder::Read(path).substr(0, count); }

TEST_F(PictureWorkflow, EveryRenderStartsAgainFromThePictureFile) {
    Run("", [](ProgramState& state) {
        EXPECT_EQ(Render(state, 0, kRed), RenderOutcome::NoPicture) << "no picture opened yet";
        EXPECT_FALSE(state.images.HasImage(pic::PicResult));

        state.shell.CurrentFile = "photo.bmp";
        ASSERT_EQ(Render(state, 0, kRed), RenderOutcome::Published);
        ASSERT_EQ(Render(state, 1, kBlue), RenderOutcome::Published);
        const render::RasterImage* result = state.images.Find(pic::PicResult);
        ASSERT_NE(result, nullptr);
        EXPECT_EQ(result->width, 400);
        EXPECT_EQ(result->At(0, 0), 0x808080u) << "the first render's mark must not survive the second";
        EXPECT_EQ(result->At(1, 0), kBlue);

        // 400 x 300 is shown 240 x 180, centred in the result box only.
        const render::RasterImage* preview = state.images.Find(pic::PicPreview);
        ASSERT_NE(preview, nullptr);
        EXPECT_EQ(preview->width, 240);
        EXPECT_EQ(preview->height, 180);
        const platform::Rect placed = state.platform.ControlGeometry(platform::ControlId::ImgPreview);
        EXPECT_EQ(placed.x, 7);
        EXPECT_EQ(placed.y, 22);
        EXPECT_EQ(state.platform.ControlGeometry(platform::ControlId::ImgSource).x, 0);

        // An effect that stops leaves the published pictures alone.
        EXPECT_EQ(RenderCycle(state, [](render::RasterImage& work) {
                      work.At(2, 0) = kRed;
                      return false;
                  }),
                  RenderOutcome::Stopped);
        EXPECT_EQ(state.images.Find(pic::PicResult)->At(1, 0), kBlue);
        EXPECT_EQ(state.images.Find(pic::PicResult)->At(2, 0), 0x808080u);
    });
}

TEST_F(PictureWorkflow, FittingShrinksInPlaceAndCentresEveryControlGiven) {
    Run("", [](ProgramState& state) {
        struct Case {
            int width, height;        // picture
            int fittedWidth, fittedHeight, x, y;
        };
        for (const Case& c : {Case{3000, 1000, 360, 120, -53, 52}, Case{220, 200, 220, 200, 17, 12},
                              Case{221, 200, 199, 180, 28, 22}, Case{640, 480, 240, 180, 7, 22},
                              Case{200, 150, 200, 150, 27, 37}}) {
            state.images.NewImage(pic::PicOpened, c.width, c.height);
            FitPreview(state, pic::PicOpened, {platform::ControlId::ImgSource, platform::ControlId::ImgPreview});
            const render::RasterImage* fitted = state.images.Find(pic::PicOpened);
            EXPECT_EQ(fitted->width, c.fittedWidth) << c.width << "x" << c.height;
            EXPECT_EQ(fitted->height, c.fittedHeight) << c.width << "x" << c.height;
            for (platform::ControlId id : {platform::ControlId::ImgSource, platform::ControlId::ImgPreview}) {
                const platform::Rect placed = state.platform.ControlGeometry(id);
                EXPECT_EQ(placed.x, c.x) << c.width << "x" << c.height;
                EXPECT_EQ(placed.y, c.y) << c.width << "x" << c.height;
                EXPECT_EQ(placed.width, c.fittedWidth);
            }
        }
        // Only the controls named move.
        state.images.NewImage(pic::PicPreview, 1600, 1200);
        FitPreview(state, pic::PicPreview, {platform::ControlId::ImgPreview});
        EXPECT_EQ(state.platform.ControlGeometry(platform::ControlId::ImgPreview).x, 7);
        EXPECT_EQ(state.platform.ControlGeometry(platform::ControlId::ImgSource).x, 27);
    });
}

TEST_F(PictureWorkflow, ARenderAfterTheFileChangedShowsTheNewFile) {
    Run("", [](ProgramState& state) {
        // The first render after opening starts from the picture decoded at opening.
        state.shell.CurrentFile = "photo.bmp";
        ASSERT_TRUE(ShowOpenedPicture(state));
        ASSERT_EQ(Render(state, 0, kRed), RenderOutcome::Published);
        ASSERT_EQ(Render(state, 1, kBlue), RenderOutcome::Published);
        EXPECT_EQ(state.images.Find(pic::PicResult)->At(0, 0), 0x808080u) << "the first render's mark survived";
        // Same name, same size, new content.
        WritePicture("photo.bmp", 400, 300, 0x00FF00);
        ASSERT_EQ(Render(state, 0, kRed), RenderOutcome::Published);
        EXPECT_EQ(state.images.Find(pic::PicResult)->At(5, 5), 0x00FF00u);
        // Rewritten in place rather than replaced, with another size.
        {
            render::RasterImage small;
            small.width = 10;
            small.height = 10;
            small.pixels.assign(100, 0x112233);
            ASSERT_EQ(imageio::SavePicture(&small, "small.bmp", imageio::kEncoderBmp), 1);
            const std::string bytes = TestFolder::Read("small.bmp");
            std::ofstream("photo.bmp", std::ios::binary | std::ios::trunc) << bytes;
        }
        ASSERT_EQ(Render(state, 0, kRed), RenderOutcome::Published);
        EXPECT_EQ(state.images.Find(pic::PicResult)->width, 10);
        // Changed between opening and the first render.
        ASSERT_TRUE(ShowOpenedPicture(state));
        WritePicture("photo.bmp", 400, 300, 0x0000FF);
        ASSERT_EQ(Render(state, 0, kRed), RenderOutcome::Published);
        EXPECT_EQ(state.images.Find(pic::PicResult)->At(5, 5), 0x0000FFu);
        // A file that is gone gives no picture, not the one decoded before.
        fs::remove("photo.bmp");
        EXPECT_EQ(Render(state, 0, kRed), RenderOutcome::NoPicture);
    });
}

// A JPEG photo's preview is shrunk while it is decoded: it must be the very picture that shrinking
// the decoded photo gives.
TEST_F(PictureWorkflow, AnOpenedJpegShowsTheDecodedPictureShrunk) {
    render::RasterImage photo;
    photo.width = 1001;
    photo.height = 667;
    for (int y = 0; y < photo.height; ++y) {
        for (int x = 0; x < photo.width; ++x) photo.pixels.push_back(render::MakeColor(x % 256, y % 256, (x * y) % 256));
    }
    ASSERT_EQ(imageio::SavePicture(&photo, "photo.jpg", imageio::kEncoderJpeg, 9), 1);
    Run("", [](ProgramState& state) {
        state.shell.CurrentFile = "photo.jpg";
        ASSERT_TRUE(ShowOpenedPicture(state));
        const render::RasterImage* work = state.images.Find(pic::PicWork);
        const render::RasterImage* shown = state.images.Find(pic::PicOpened);
        ASSERT_TRUE(work != nullptr && shown != nullptr);
        const FittedSize size = PreviewSize(work->width, work->height);
        ASSERT_EQ(shown->width, size.width);
        ASSERT_EQ(shown->height, size.height);
        EXPECT_EQ(shown->pixels, render::ScaleHalftone(*work, size.width, size.height).pixels);
    });
}

// Brick red in Adobe RGB, and what Little CMS's transicc makes of it in sRGB.
struct TaggedColour {
    render::Color stored = render::MakeColor(200, 60, 40);
    render::Color shown = 0;
};
TaggedColour AdobeBrickRed() {
    TaggedColour colour;
    FILE* pipe = popen("echo 200 60 40 | transicc -t0 -n -i /usr/share/color/icc/compatibleWithAdobeRGB1998.icc"
                       " -o '*sRGB' 2>/dev/null", "r");
    double r = -1, g = -1, b = -1;
    const bool read = pipe != nullptr && std::fscanf(pipe, "%lf %lf %lf", &r, &g, &b) == 3;
    if (pipe != nullptr) pclose(pipe);
    EXPECT_TRUE(read) << "transicc is missing (Debian package liblcms2-utils)";
    colour.shown = render::MakeColor(static_cast<int>(std::lround(r)), static_cast<int>(std::lround(g)),
                                     static_cast<int>(std::lround(b)));
    return colour;
}

// Within two levels in every channel.
void ExpectNear(render::Color actual, render::Color expected, const char* what) {
    EXPECT_LE(std::abs(render::RedOf(actual) - render::RedOf(expected)), 2) << what;
    EXPECT_LE(std::abs(render::GreenOf(actual) - render::GreenOf(expected)), 2) << what;
    EXPECT_LE(std::abs(render::BlueOf(actual) - render::BlueOf(expected)), 2) << what;
}

TEST_F(PictureWorkflow, ATaggedPictureIsShownInSrgbAndSavedAsStored) {
    const TaggedColour colour = AdobeBrickRed();
    ASSERT_NE(colour.shown, colour.stored);
    render::RasterImage photo;
    photo.width = 400;
    photo.height = 300;
    photo.pixels.assign(400 * 300, colour.stored);
    ASSERT_EQ(imageio::SavePicture(&photo, "untagged.png", imageio::kEncoderPng), 1);
    fs::copy_file("untagged.png", "tagged.png");
    // exiftool embeds the profile, so the tagging does not depend on our own writer.
    ASSERT_EQ(std::system("exiftool -q -overwrite_original "
                          "'-ICC_Profile<=/usr/share/color/icc/compatibleWithAdobeRGB1998.icc' tagged.png"),
              0)
        << "exiftool (libimage-exiftool-perl) or icc-profiles-free is missing";
    Run("", [&](ProgramState& state) {
        state.shell.CurrentFile = "untagged.png";
        ASSERT_TRUE(ShowOpenedPicture(state));
        EXPECT_EQ(state.images.Find(pic::PicOpened)->At(3, 3), colour.stored) << "an untagged picture is shown as stored";

        state.shell.CurrentFile = "tagged.png";
        ASSERT_TRUE(ShowOpenedPicture(state));
        ExpectNear(state.images.Find(pic::PicOpened)->At(3, 3), colour.shown, "opened picture");
        ASSERT_EQ(Render(state, 0, kRed), RenderOutcome::Published);
        ExpectNear(state.images.Find(pic::PicPreview)->At(3, 3), colour.shown, "result preview");
        EXPECT_EQ(state.images.Find(pic::PicResult)->At(3, 3), colour.stored) << "the saved picture was converted";
        EXPECT_EQ(state.images.Find(pic::PicResult)->At(0, 0), kRed);
        EXPECT_EQ(state.images.Find(pic::PicWork)->At(3, 3), colour.stored);

        ASSERT_TRUE(ShowThumbnail(state, pic::PicThumbBatch, "tagged.png"));
        ExpectNear(state.images.Find(pic::PicThumbBatch)->At(1, 1), colour.shown, "thumbnail");
        ASSERT_TRUE(ShowThumbnail(state, pic::PicThumbBatch, "untagged.png"));
        EXPECT_EQ(state.images.Find(pic::PicThumbBatch)->At(1, 1), colour.stored);
    });
}

TEST_F(PictureWorkflow, SaveAppendsTheExtensionOfTheChosenPatternAndWritesThatFormat) {
    const std::string log = Run(
        "answer save \"" + Abs("x.jpeg") + "\" 0\nanswer quality 7\nclick BtnSave\n"
        "answer save \"" + Abs("y.jpg") + "\" 2\nclick BtnSave\n"
        "answer save \"" + Abs("z.Bmp") + "\" 1\nclick BtnSave\n"
        "answer save \"" + Abs("w.JPG") + "\" 0\nclick BtnSave\n"
        "answer save cancel\nclick BtnSave\n",
        RenderedPhoto());
    EXPECT_EQ(Head("x.jpeg.jpg", 2), "\xFF\xD8");
    EXPECT_FALSE(fs::exists("x.jpeg"));
    EXPECT_EQ(Head("y.jpg.png", 8), "\x89PNG\r\n\x1A\n") << "the pattern decides the format, not the name";
    EXPECT_FALSE(fs::exists("y.jpg"));
    EXPECT_EQ(Head("z.Bmp", 2), "BM");
    EXPECT_EQ(TestFolder::Read("z.Bmp").size(), 54u + 1200u * 300u);
    EXPECT_EQ(Head("w.JPG", 2), "\xFF\xD8");
    EXPECT_EQ(log.find("message"), std::string::npos) << log;
    // The quality window opened for the two JPEG saves only.
    std::size_t windows = 0;
    for (std::size_t at = log.find("window open 4"); at != std::string::npos; at = log.find("window open 4", at + 1)) ++windows;
    EXPECT_EQ(windows, 2u) << log;
}

TEST_F(PictureWorkflow, OverwriteIsAskedForTheNameExactlyAsTyped) {
    TestFolder::Write("photo.jpg", "old");
    TestFolder::Write("Same.png", "old");
    TestFolder::Write("keep.png", "old");
    fs::create_directory("dir.png");
    const std::string log = Run(
        // The typed name lacks the extension: no question, the extended name is replaced.
        "answer save \"" + Abs("photo") + "\" 0\nclick BtnSave\n"
        // Another case of the letters is another name.
        "answer save \"" + Abs("same.png") + "\" 2\nclick BtnSave\n"
        // The exact name asks; No writes nothing.
        "answer save \"" + Abs("keep.png") + "\" 2\nanswer message no\nclick BtnSave\n"
        // A sub-folder of that name asks as well; the folder cannot be replaced and the user is told.
        "answer save \"" + Abs("dir.png") + "\" 2\nanswer message yes\nclick BtnSave\n",
        RenderedPhoto());
    EXPECT_EQ(Head("photo.jpg", 2), "\xFF\xD8");
    EXPECT_EQ(Head("same.png", 4), "\x89PNG");
    EXPECT_EQ(TestFolder::Read("Same.png"), "old");
    EXPECT_EQ(TestFolder::Read("keep.png"), "old");
    EXPECT_TRUE(fs::is_directory("dir.png"));
    std::size_t questions = 0;
    for (std::size_t at = log.find("buttons=yesno"); at != std::string::npos; at = log.find("buttons=yesno", at + 1)) ++questions;
    EXPECT_EQ(questions, 2u) << log;
    EXPECT_NE(log.find("message caption=\"Hinweis\" text=\"Diese Datei gibt es schon."), std::string::npos) << log;
    EXPECT_NE(log.find("message caption=\"Warnung\" text=\"Das Bild konnte nicht gespeichert werden:\\r" + Abs("dir.png") +
                       "\" icon=warning"),
              std::string::npos)
        << log;
}

TEST_F(PictureWorkflow, AFailedWriteIsReportedAndLeavesNothingBehind) {
    const std::string target = Abs("missing/out.png");
    const std::string log = Run("answer save \"" + target + "\" 2\nclick BtnSave\n", RenderedPhoto());
    EXPECT_FALSE(fs::exists("missing"));
    EXPECT_NE(log.find("message caption=\"Warnung\" text=\"Das Bild konnte nicht gespeichert werden:\\r" + target +
                       "\" icon=warning buttons=ok"),
              std::string::npos)
        << log;
}

// A disk that fills up while the picture is written: the process may write only a few bytes
// per file while the object lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &previous_);
        previousSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = previous_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousSignal_);
    }

private:
    rlimit previous_{};
    void (*previousSignal_)(int) = nullptr;
};

TEST_F(PictureWorkflow, AWriteThatRunsOutOfRoomIsReportedAndKeepsTheOldFile) {
    TestFolder::Write("keep.bmp", "old picture");
    std::string log;
    {
        const FileSizeLimit full(4096);
        log = Run("answer save \"" + Abs("keep.bmp") + "\" 1\nanswer message yes\nclick BtnSave\n", RenderedPhoto());
    }
    EXPECT_EQ(TestFolder::Read("keep.bmp"), "old picture");
    EXPECT_NE(log.find("message caption=\"Warnung\" text=\"Das Bild konnte nicht gespeichert werden:\\r" +
                       Abs("keep.bmp") + "\" icon=warning buttons=ok"),
              std::string::npos)
        << log;
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(".")) files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 3u) << "lang.prf, photo.bmp and keep.bmp; no half-written file is left";
}

// The first quantisation table of a JPEG file: its precision (0: 8-bit, 1: 16-bit) and its
// first (DC) value.
struct QuantTable {
    int precision = -1;
    int first = -1;
};
QuantTable FirstQuantTable(const std::string& bytes) {
    for (std::size_t i = 2; i + 6 < bytes.size(); ++i) {
        if (static_cast<unsigned char>(bytes[i]) == 0xFF && static_cast<unsigned char>(bytes[i + 1]) == 0xDB) {
            const int pq = static_cast<unsigned char>(bytes[i + 4]) >> 4;
            const auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
            return {pq, pq == 0 ? at(i + 5) : at(i + 5) * 256 + at(i + 6)};
        }
    }
    return {};
}

TEST_F(PictureWorkflow, TheChosenQualityReachesTheJpegTables) {
    const std::string log = Run(
        "answer save \"" + Abs("q0.jpg") + "\" 0\nanswer quality 0\nclick BtnSave\n"
        "answer save \"" + Abs("q10.jpg") + "\" 0\nanswer quality 10\nclick BtnSave\n"
        "answer save \"" + Abs("q4.jpg") + "\" 0\nclick BtnSave\n",
        RenderedPhoto());
    // Quality 0 is library quality 1: 5000 % of the standard luminance table, whose first
    // entry 16 becomes 800, beyond 8 bits because baseline tables are not forced.
    const QuantTable q0 = FirstQuantTable(TestFolder::Read("q0.jpg"));
    EXPECT_EQ(q0.precision, 1);
    EXPECT_EQ(q0.first, 800);
    // Quality 10 is library quality 100: every entry 1.
    const QuantTable q10 = FirstQuantTable(TestFolder::Read("q10.jpg"));
    EXPECT_EQ(q10.precision, 0);
    EXPECT_EQ(q10.first, 1);
    // Unanswered, the window keeps its starting value 4: library quality 40, scale 125 %, 16 -> 20.
    const QuantTable q4 = FirstQuantTable(TestFolder::Read("q4.jpg"));
    EXPECT_EQ(q4.precision, 0);
    EXPECT_EQ(q4.first, 20);
    EXPECT_NE(log.find("window open 4 \"JPEG-Qualität\" 250x80"), std::string::npos) << log;
}

}  // namespace
}  // namespace velinor::app
