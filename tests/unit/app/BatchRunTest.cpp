// The batch run's event rules and frame, on the in-memory platform: one event is taken between
// two pictures and never handled, cancel ends the run before the next picture, and a run never
// writes over one of its own sources.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <thread>
#include <string>
#include <vector>

#include "TestFolder.h"
#include "app/BatchList.h"
#include "app/BatchPoll.h"
#include "app/PicturePrefetch.h"
#include "app/BatchRun.h"
#include "app/ProgressWindow.h"
#include "imageio/DecodeLimits.h"
#include "imageio/Writer.h"
#include "platform/headless/HeadlessPlatform.h"

namespace velinor::app {
namespace {

using platform::ControlId;
using platform::ControlKind;

class BatchRunTest : public ::testing::Test {
protected:
    BatchRunTest() {
        platform::WindowSpec main;
        main.number = 0;
        main.clientWidth = 620;
        main.clientHeight = 595;
        headless.OpenWindow(main);
        Create(ControlId::LstBatch, ControlKind::ReportList, 0);
        Create(ControlId::BtnClear, ControlKind::Button, 0);
        Create(ControlId::BtnBatchStart, ControlKind::Button, 0);
        Create(ControlId::ChkKeepNames, ControlKind::Checkbox, 0);
        headless.AddItem(ControlId::LstBatch, "pics/a.jpg");
    }

    void Create(ControlId id, ControlKind kind, int window) {
        platform::ControlSpec spec;
        spec.id = id;
        spec.kind = kind;
        spec.parent.window = window;
        headless.CreateControl(spec);
    }

    // A progress window with its cancel button, as during a run.
    void OpenProgress() { OpenProgressWindow(state); }

    testing::TestFolder folder;
    platform::HeadlessPlatform headless;
    ProgramState state{headless, {}};
};

TEST_F(BatchRunTest, EachPollTakesOneEventAndHandlesNone) {
    OpenProgress();
    state.shell.EventControl = ControlId::BtnBatchStart;
    EXPECT_EQ(PollBetweenPictures(state), BatchPollResult::Continue);   // nothing pending

    // A click on the main window's clear button is taken and dropped: the list stays whole,
    // and the start button's click cannot begin a run inside the run.
    headless.UserClick(ControlId::BtnClear);
    headless.UserClick(ControlId::BtnBatchStart);
    headless.UserClose(0);
    EXPECT_EQ(PollBetweenPictures(state), BatchPollResult::Continue);
    EXPECT_TRUE(headless.HasPendingEvent());   // only one event per poll
    EXPECT_EQ(PollBetweenPictures(state), BatchPollResult::Continue);
    EXPECT_EQ(PollBetweenPictures(state), BatchPollResult::Continue);
    EXPECT_FALSE(headless.HasPendingEvent());
    EXPECT_EQ(headless.ItemCount(ControlId::LstBatch), 1);
    EXPECT_FALSE(state.batch.running);
}

TEST_F(BatchRunTest, CancelWaitsBehindEventsQueuedBeforeIt) {
    OpenProgress();
    state.shell.EventControl = ControlId::BtnBatchStart;
    headless.UserPointer(3, {10, 10});
    headless.UserClick(ControlId::BtnBatchCancel);
    EXPECT_EQ(PollBetweenPictures(state), BatchPollResult::Continue);
    EXPECT_EQ(PollBetweenPictures(state), BatchPollResult::Cancel);
}

// A step that "clicks" cancel while picture 5 of 10 is stamped, optionally with a repaint
// queued just before the click.
std::vector<int> RunTenCancellingAtFive(ProgramState& state, platform::HeadlessPlatform& headless,
                                        bool eventBeforeCancel) {
    std::vector<int> stamped;
    state.batch.batchFiles.assign(10, "pics/a.jpg");
    state.batch.outputDir = "out/";
    RunBatchFrame(state, [&](ProgramState& s, const std::string&, const std::string&) {
        stamped.push_back(s.batch.batchNumber);
        if (s.batch.batchNumber == 5) {
            if (eventBeforeCancel) headless.UserPointer(3, {1, 1});
            headless.UserClick(ControlId::BtnBatchCancel);
        }
        return PictureOutcome{};
    });
    return stamped;
}

TEST_F(BatchRunTest, CancelDuringPictureFiveFinishesItAndStopsBeforeSix) {
    state.shell.EventControl = ControlId::BtnBatchStart;
    EXPECT_EQ(RunTenCancellingAtFive(state, headless, false), (std::vector<int>{1, 2, 3, 4, 5}));
    // The run ended as a run ends: window closed, main window and start button enabled.
    EXPECT_FALSE(headless.WindowExists(kProgressWindow));
    EXPECT_TRUE(headless.WindowEnabled(0));
    EXPECT_TRUE(headless.ControlEnabled(ControlId::BtnBatchStart));
    EXPECT_FALSE(state.batch.running);
}

TEST_F(BatchRunTest, AnEventAheadOfCancelCostsOneMorePicture) {
    state.shell.EventControl = ControlId::BtnBatchStart;
    EXPECT_EQ(RunTenCancellingAtFive(state, headless, true), (std::vector<int>{1, 2, 3, 4, 5, 6}));
}

TEST_F(BatchRunTest, OutputThatIsASourceIsNeverWritten) {
    std::filesystem::create_directories("pics");
    testing::TestFolder::Write("pics/a.jpg", "original");
    testing::TestFolder::Write("pics/img2.jpg", "second original");
    // Keep-names into the sources' own folder, reached by another spelling of the folder.
    headless.SetState(ControlId::ChkKeepNames, 1);
    state.batch.batchFiles = {"pics/a.jpg", "pics/img2.jpg"};
    state.batch.outputDir = "./pics/";
    int steps = 0;
    RunTally tally = RunBatchFrame(state, [&](ProgramState&, const std::string&, const std::string& output) {
        ++steps;
        testing::TestFolder::Write(output, "stamped");
        return PictureOutcome{};
    });
    EXPECT_EQ(steps, 0);
    EXPECT_EQ(tally.skipped, 2);
    EXPECT_EQ(testing::TestFolder::Read("pics/a.jpg"), "original");

    // Numbered names: img2.jpg is the second source, img1.jpg is new and written.
    headless.SetState(ControlId::ChkKeepNames, 0);
    tally = RunBatchFrame(state, [&](ProgramState&, const std::string&, const std::string& output) {
        testing::TestFolder::Write(output, "stamped");
        return PictureOutcome{};
    });
    EXPECT_EQ(tally.written, 1);
    EXPECT_EQ(testing::TestFolder::Read("pics/img1.jpg"), "stamped");
    EXPECT_EQ(testing::TestFolder::Read("pics/img2.jpg"), "second original");
}

TEST_F(BatchRunTest, ASourceReplacedWhileTheRunIsBusyIsNotWrittenOver) {
    std::filesystem::create_directories("pics");
    for (const char* name : {"pics/a.jpg", "pics/b.jpg", "pics/c.jpg"}) testing::TestFolder::Write(name, "original");
    headless.SetState(ControlId::ChkKeepNames, 1);
    state.batch.batchFiles = {"pics/a.jpg", "pics/b.jpg", "pics/c.jpg"};
    state.batch.outputDir = "out/";
    std::filesystem::create_directories("out");
    // c's output is out/c.jpg until, during picture 1, the output folder becomes the sources'
    // own (a link swapped) and a sync tool renames a new file over pics/c.jpg.
    std::filesystem::create_directories("elsewhere");
    std::filesystem::remove("out");
    std::filesystem::create_symlink("elsewhere", "out");
    std::vector<std::string> written;
    const RunTally tally = RunBatchFrame(state, [&](ProgramState& s, const std::string&, const std::string& output) {
        if (s.batch.batchNumber == 1) {
            testing::TestFolder::Write("pics/.c.jpg.new", "edited");
            std::filesystem::rename("pics/.c.jpg.new", "pics/c.jpg");
            std::filesystem::remove("out");
            std::filesystem::create_symlink("pics", "out");
        }
        written.push_back(output);
        return PictureOutcome{};
    });
    EXPECT_EQ(written, (std::vector<std::string>{"out/a.jpg"}));
    EXPECT_EQ(tally.skipped, 2);
    EXPECT_EQ(testing::TestFolder::Read("pics/c.jpg"), "edited");
}

TEST(BatchFileSize, TellsMissingFoldersAndThingsThatAreNotFiles) {
    testing::TestFolder folder;
    testing::TestFolder::Write("five.jpg", "12345");
    testing::TestFolder::Write("empty.jpg", "");
    std::filesystem::create_directories("dir.jpg");
    ASSERT_EQ(::mkfifo("pipe.jpg", 0600), 0);
    EXPECT_EQ(FileSize("five.jpg"), 5);
    EXPECT_EQ(FileSize("empty.jpg"), 0);
    EXPECT_EQ(FileSize("missing.jpg"), -1);
    EXPECT_EQ(FileSize("dir.jpg"), -2);
    EXPECT_EQ(FileSize("pipe.jpg"), -1);   // never opened: reading a pipe would wait forever
}

TEST(BatchSort, DescendingWithCaseIgnoredForAsciiLettersOnly) {
    std::vector<std::string> entries = {"pics/a.jpg", "pics/B.JPG", "pics/c.png", "pics/\xc3\xa9.jpg", "pics/A.jpg"};
    std::stable_sort(entries.begin(), entries.end(), SortsBefore);
    // é (bytes above 127) sorts after every ASCII letter; a.jpg and A.jpg keep their order.
    EXPECT_EQ(entries, (std::vector<std::string>{"pics/\xc3\xa9.jpg", "pics/c.png", "pics/B.JPG", "pics/a.jpg",
                                                 "pics/A.jpg"}));
}

}  // namespace
}  // namespace velinor::app

namespace velinor::app {
namespace {

// Writes a width x height BMP whose pixels are all colour.
void WritePicture(const std::string& path, int width, int height, render::Color colour) {
    render::ImageRegistry images;
    render::RasterImage* image = images.NewImage(1, width, height);
    ASSERT_NE(image, nullptr);
    for (render::Color& pixel : image->pixels) pixel = colour;
    ASSERT_EQ(imageio::SavePicture(images, 1, path, imageio::kEncoderBmp), 1);
}

TEST(BatchPrefetch, LoadsWhatWasAskedForWhateverWasDecodedAhead) {
    testing::TestFolder folder;
    WritePicture("a.bmp", 3, 2, 0x0000FF);
    WritePicture("b.bmp", 5, 4, 0x00FF00);
    testing::TestFolder::Write("broken.bmp", "BM not really");
    for (bool enabled : {true, false}) {
        SCOPED_TRACE(enabled);
        PicturePrefetch prefetch(enabled);
        render::ImageRegistry images;
        prefetch.Start("a.bmp");
        render::RasterImage* a = prefetch.Load(images, 57, "a.bmp");
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->width, 3);
        EXPECT_EQ(a->At(2, 1), 0x0000FFu);
        // A decode started for another file is never handed out in place of b, and is still
        // there for a when a is asked for next.
        prefetch.Start("a.bmp");
        render::RasterImage* b = prefetch.Load(images, 57, "b.bmp");
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->width, 5);
        EXPECT_EQ(images.Find(57), b);
        a = prefetch.Load(images, 56, "a.bmp");
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->width, 3);
        // A picture that does not decode leaves the number empty, as a load does.
        prefetch.Start("broken.bmp");
        EXPECT_EQ(prefetch.Load(images, 57, "broken.bmp"), nullptr);
        EXPECT_FALSE(images.HasImage(57));
        prefetch.Start("b.bmp");   // still running when the prefetch goes: waited for, dropped
    }
}

// A decode ahead that failed for a passing reason (here the pixel limit, standing for memory the
// previous picture still held) is tried again in the picture's own turn before it counts.
TEST(BatchPrefetch, AFailedDecodeAheadIsTriedAgainInItsTurn) {
    testing::TestFolder folder;
    WritePicture("b.bmp", 5, 4, 0x00FF00);
    const long long limit = imageio::PixelLimit();
    PicturePrefetch prefetch(true);
    render::ImageRegistry images;
    imageio::SetPixelLimit(10);
    prefetch.Start("b.bmp");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));   // the decode ahead has failed by now
    imageio::SetPixelLimit(limit);
    render::RasterImage* b = prefetch.Load(images, 57, "b.bmp");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->width, 5);
}

// A run writes its outputs while the next picture decodes: a listed file that an earlier
// picture writes (missing before, or replaced) must be read as it is when its turn comes.
TEST(BatchPrefetch, FilesWrittenAfterTheStartAreReadAsTheyAreThen) {
    testing::TestFolder folder;
    PicturePrefetch prefetch(true);
    render::ImageRegistry images;
    prefetch.Start("later.bmp");
    WritePicture("later.bmp", 7, 6, 0x0000FF);
    render::RasterImage* later = prefetch.Load(images, 57, "later.bmp");
    ASSERT_NE(later, nullptr);
    EXPECT_EQ(later->width, 7);

    prefetch.Start("later.bmp");
    WritePicture("later.bmp.new", 9, 8, 0x00FF00);
    std::filesystem::rename("later.bmp.new", "later.bmp");
    later = prefetch.Load(images, 57, "later.bmp");
    ASSERT_NE(later, nullptr);
    EXPECT_EQ(later->width, 9);
}

}  // namespace
}  // namespace velinor::app
