// The whole program on the real window, offscreen: a photo opened with the open button shows
// in both previews, a rendered result saved through the requester and the quality window reads
// back, and files dropped on the window are taken and released without changing anything.

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPixmap>
#include <QTimer>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>

#include "GuiFixture.h"
#include "app/EventLoop.h"
#include "app/QualityWindow.h"
#include "app/ProgramState.h"
#include "app/RenderCycle.h"
#include "app/StartUp.h"
#include "imageio/Loader.h"
#include "imageio/Writer.h"
#include "platform/script/Script.h"
#include "platform/script/ScriptedPlatform.h"
#include "app/ImageNumbers.h"

namespace velinor::platform::qt::test {
namespace {

namespace fs = std::filesystem;
namespace pic = app::pic;

// A working folder with the files the program needs at start, current while the test runs.
class ProgramOnQt : public ::testing::Test {
protected:
    void SetUp() override {
        runtime_ = std::make_unique<RuntimeFolder>();
        folder_ = runtime_->Path();
        platform = std::make_unique<QtPlatform>();
    }
    void TearDown() override {
        platform.reset();
        Settle();
        runtime_.reset();
    }

    // A 1600 x 1200 photo-like JPEG: smooth colour gradients with grain.
    std::string WritePhoto() {
        render::RasterImage photo;
        photo.width = 1600;
        photo.height = 1200;
        photo.pixels.resize(1600u * 1200u);
        std::mt19937 random(3);
        for (int y = 0; y < photo.height; ++y) {
            for (int x = 0; x < photo.width; ++x) {
                const int grain = static_cast<int>(random() % 11) - 5;
                photo.At(x, y) = render::MakeColor(std::clamp(x * 255 / 1600 + grain, 0, 255),
                                                   std::clamp(y * 255 / 1200 + grain, 0, 255), 90);
            }
        }
        const std::string path = (folder_ / "photo.jpg").string();
        EXPECT_EQ(imageio::SavePicture(&photo, path, imageio::kEncoderJpeg, 9), 1);
        return path;
    }

    // Handles events as the loop does until the script has been used up.
    void RunScript(ScriptedPlatform& scripted, app::ProgramState& state) {
        while (!scripted.ScriptFinished()) app::HandleEvent(state, scripted.WaitEvent());
        Settle();
    }

    // The picture an image control shows, as the widget holds it.
    QImage Shown(ControlId id) {
        auto* label = qobject_cast<QLabel*>(platform->ControlWidget(id));
        if (label == nullptr) return {};
        return label->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    }

    std::unique_ptr<QtPlatform> platform;
    std::unique_ptr<RuntimeFolder> runtime_;
    fs::path folder_;
};

// The colour at (x, y) of a picture, 0x00BBGGRR like the program's own.
render::Color At(const QImage& image, int x, int y) {
    const QRgb rgb = image.pixel(x, y);
    return render::MakeColor(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

TEST_F(ProgramOnQt, AnOpenedPhotoShowsInBothPreviewsAndTheSavedResultReadsBack) {
    const std::string photo = WritePhoto();
    const std::string saved = (folder_ / "result.png").string();
    const std::string savedJpeg = (folder_ / "result.jpg").string();
    auto parsed = ParseScript("answer open \"" + photo + "\"\nclick BtnOpen\n"
                              "answer save \"" + saved + "\" 2\nclick BtnSave\n"
                              "answer save \"" + savedJpeg + "\" 0\nanswer quality 9\nclick BtnSave\n");
    ASSERT_FALSE(parsed.error.has_value());
    std::ostringstream log;
    platform->SetScriptedInput(true);
    ScriptedPlatform scripted(*platform, *platform, std::move(parsed.script), log);
    app::ProgramState state(scripted, {});
    ASSERT_TRUE(app::StartUp(state));
    app::HandleEvent(state, scripted.WaitEvent());   // the open button
    Settle();

    const render::RasterImage* opened = state.images.Find(pic::PicOpened);
    ASSERT_NE(opened, nullptr) << log.str();
    ASSERT_EQ(opened->width, 240);
    ASSERT_EQ(opened->height, 180);
    for (ControlId id : {ControlId::ImgSource, ControlId::ImgPreview}) {
        const QImage shown = Shown(id);
        ASSERT_EQ(shown.width(), 240) << static_cast<int>(id);
        ASSERT_EQ(shown.height(), 180);
        for (auto [x, y] : {std::pair{0, 0}, std::pair{120, 90}, std::pair{239, 179}}) {
            EXPECT_EQ(At(shown, x, y), opened->At(x, y)) << x << "," << y;
        }
        const QWidget* widget = platform->ControlWidget(id);
        EXPECT_EQ(widget->x(), 7);
        EXPECT_EQ(widget->y(), 22);
    }

    // A render, then Save as PNG and as JPEG through the real quality window.
    ASSERT_EQ(app::RenderCycle(state, [](render::RasterImage& work) {
                  for (int x = 0; x < 100; ++x) work.At(x, 10) = render::kWhite;
                  return true;
              }),
              app::RenderOutcome::Published);
    RunScript(scripted, state);   // the two saves

    const std::optional<render::RasterImage> back = imageio::DecodePictureFile(saved).image;
    ASSERT_TRUE(back.has_value()) << log.str();
    const render::RasterImage* result = state.images.Find(pic::PicResult);
    ASSERT_EQ(back->width, 1600);
    ASSERT_EQ(back->height, 1200);
    EXPECT_EQ(back->pixels, result->pixels) << "PNG keeps every pixel";
    EXPECT_EQ(back->At(50, 10), render::kWhite);
    const std::optional<render::RasterImage> jpeg = imageio::DecodePictureFile(savedJpeg).image;
    ASSERT_TRUE(jpeg.has_value()) << log.str();
    EXPECT_EQ(jpeg->width, 1600);
    EXPECT_NE(log.str().find("window open 4"), std::string::npos) << log.str();
    EXPECT_FALSE(platform->WindowExists(4));
    EXPECT_TRUE(platform->WindowEnabled(0));
}

TEST_F(ProgramOnQt, FilesDroppedOnTheWindowAreTakenAndChangeNothing) {
    app::ProgramState state(*platform, {});
    ASSERT_TRUE(app::StartUp(state));
    Settle();
    QWidget* window = platform->WindowWidget(0);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->acceptDrops());

    QMimeData files;
    files.setUrls({QUrl::fromLocalFile("/tmp/a.jpg"), QUrl::fromLocalFile("/tmp/b.png")});
    const QPoint inside(300, 300);
    QDragEnterEvent enter(inside, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(inside), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &drop);

    Event event;
    for (int i = 0; i < 20 && event.code != kEventDrop; ++i) event = platform->PollEvent();
    ASSERT_EQ(event.code, kEventDrop);
    EXPECT_EQ(event.droppedFiles, (std::vector<std::string>{"/tmp/a.jpg", "/tmp/b.png"}));
    EXPECT_TRUE(app::HandleEvent(state, event)) << "a drop does not end the program";
    EXPECT_EQ(state.shell.CurrentFile, "");
    EXPECT_FALSE(state.shell.PictureLoaded);
    EXPECT_FALSE(state.images.HasImage(pic::PicOpened));
    EXPECT_TRUE(platform->WindowExists(0));
}

TEST_F(ProgramOnQt, ClosingTheQualityWindowCountsAsOk) {
    app::ProgramState state(*platform, {});
    ASSERT_TRUE(app::StartUp(state));
    Settle();
    // The user moves the track bar, then the window system closes the window.
    QTimer::singleShot(20, [this] { platform->UserSet(ControlId::TrkQuality, 7); });
    QTimer::singleShot(60, [this] {
        if (QWidget* quality = platform->WindowWidget(4)) quality->close();
    });
    EXPECT_EQ(app::AskJpegQuality(state), 7);
    EXPECT_EQ(state.shell.JpegQuality, 7);
    EXPECT_FALSE(platform->WindowExists(4));
    EXPECT_TRUE(platform->WindowEnabled(0));
    // Every opening starts at 4 again.
    QTimer::singleShot(20, [this] {
        QTest::mouseClick(platform->ControlWidget(ControlId::BtnQualityOk), Qt::LeftButton);
    });
    EXPECT_EQ(app::AskJpegQuality(state), 4);
}

}  // namespace
}  // namespace velinor::platform::qt::test
