// The batch run's event rules and frame, on the in-memory platform: one event is taken between
// two pictures and never handled, cancel ends the run before the next picture, the pictures
// worked on ahead by two workers reach the disk and the log in list order and only in their
// turn, and a run never writes over one of its own sources.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <thread>
#include <string>
#include <vector>

#include "TestFolder.h"
#include "app/BatchList.h"
#include "app/BatchPoll.h"
#include "app/BatchRun.h"
#include "app/ProgressWindow.h"
#include "imageio/AtomicFile.h"
#include "imageio/Writer.h"
#include "platform/headless/HeadlessPlatform.h"

namespace velinor::app {
namespace {

using platform::ControlId;
using platform::ControlKind;

// The in-memory platform, with a cancel click that arrives just before the progress window's
// poll number cancelAtPoll (1-based), optionally behind a pointer movement; and the batch log
// as it was last set.
class CancellingPlatform : public platform::HeadlessPlatform {
public:
    platform::Event PollEvent() override {
        if (cancelAtPoll > 0 && WindowExists(kProgressWindow) && ++polls == cancelAtPoll) {
            if (eventBeforeCancel) UserPointer(3, {1, 1});
            UserClick(ControlId::BtnBatchCancel);
        }
        return HeadlessPlatform::PollEvent();
    }
    void SetText(ControlId id, const std::string& text) override {
        if (id == ControlId::TxtBatchLog) log = text;
        HeadlessPlatform::SetText(id, text);
    }

    int cancelAtPoll = 0;
    bool eventBeforeCancel = false;
    int polls = 0;
    std::string log;
};

// Work that writes "stamped N" beside the output, as a worker does; odd pictures take longer, so
// that later pictures finish before earlier ones.
stamping::StagedPicture WriteAside(int number, const std::string& output) {
    if (number % 2 == 1) std::this_thread::sleep_for(std::chrono::milliseconds(15));
    stamping::StagedPicture staged;
    auto file = std::make_unique<imageio::AtomicFile>(output, imageio::AtomicFile::Links::Refuse);
    if (!file->IsOpen()) return staged;
    std::fputs(("stamped " + std::to_string(number)).c_str(), file->Stream());
    if (!file->Finish()) return staged;
    staged.file = std::move(file);
    staged.status = stamping::StagedPicture::Status::Ready;
    return staged;
}

// Every entry of folder, hidden ones included.
std::set<std::string> Entries(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

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
    CancellingPlatform headless;
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

// Ten pictures on two workers with cancel clicked while picture 5 is stamped (it reaches the
// poll before picture 6), optionally behind a pointer movement queued just before the click.
// Returns the output folder's entries.
std::set<std::string> RunTenCancellingAtFive(ProgramState& state, CancellingPlatform& headless,
                                             bool eventBeforeCancel, std::atomic<int>& worked) {
    std::filesystem::create_directories("out");
    state.batch.batchFiles.assign(10, "pics/a.jpg");
    state.batch.outputDir = "out/";
    headless.cancelAtPoll = 6;
    headless.eventBeforeCancel = eventBeforeCancel;
    RunBatchFrame(
        state,
        [&](int number, const std::string&, const std::string& output, int) {
            ++worked;
            // Picture 5 is slow: the other worker meanwhile stamps the pictures after it.
            if (number == 5) std::this_thread::sleep_for(std::chrono::milliseconds(200));
            return WriteAside(number, output);
        },
        2);
    return Entries("out");
}

// The numbers of the outputs the log names, in the order it names them ("out/img7" gives 7).
std::vector<int> LoggedNumbers(const std::string& log) {
    std::vector<int> numbers;
    for (std::size_t at = log.find("out/img"); at != std::string::npos; at = log.find("out/img", at + 1)) {
        numbers.push_back(std::atoi(log.c_str() + at + 7));
    }
    return numbers;
}

TEST_F(BatchRunTest, CancelDuringPictureFiveFinishesItAndLeavesNothingOfTheWorkAhead) {
    state.shell.EventControl = ControlId::BtnBatchStart;
    std::atomic<int> worked{0};
    const std::set<std::string> written = RunTenCancellingAtFive(state, headless, false, worked);
    // Only the five logged pictures are there, under their own numbers with their own
    // contents, and no temporary file of the pictures stamped ahead is left.
    EXPECT_EQ(written, (std::set<std::string>{"img1.jpg", "img2.jpg", "img3.jpg", "img4.jpg", "img5.jpg"}));
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(testing::TestFolder::Read("out/img" + std::to_string(n) + ".jpg"), "stamped " + std::to_string(n));
    }
    EXPECT_GT(worked.load(), 5);   // work was done ahead of the cancel, and thrown away
    EXPECT_EQ(LoggedNumbers(headless.log), (std::vector<int>{1, 2, 3, 4, 5}));
    // The run ended as a run ends: window closed, main window and start button enabled.
    EXPECT_FALSE(headless.WindowExists(kProgressWindow));
    EXPECT_TRUE(headless.WindowEnabled(0));
    EXPECT_TRUE(headless.ControlEnabled(ControlId::BtnBatchStart));
    EXPECT_FALSE(state.batch.running);
}

TEST_F(BatchRunTest, AnEventAheadOfCancelCostsOneMorePicture) {
    state.shell.EventControl = ControlId::BtnBatchStart;
    std::atomic<int> worked{0};
    EXPECT_EQ(RunTenCancellingAtFive(state, headless, true, worked),
              (std::set<std::string>{"img1.jpg", "img2.jpg", "img3.jpg", "img4.jpg", "img5.jpg", "img6.jpg"}));
}

// Pictures finishing out of order on two workers still reach the log in list order, each under
// its own number, and with kept names the later of two sources of one name is the one left.
TEST_F(BatchRunTest, TwoWorkersLogAndNumberInListOrder) {
    state.shell.EventControl = ControlId::BtnBatchStart;
    std::filesystem::create_directories("out");
    state.batch.batchFiles.assign(9, "pics/a.jpg");
    state.batch.outputDir = "out/";
    const auto work = [](int number, const std::string&, const std::string& output, int) {
        return WriteAside(number, output);
    };
    RunTally tally = RunBatchFrame(state, work, 2);
    EXPECT_EQ(tally.written, 9);
    EXPECT_FALSE(tally.cancelled);
    EXPECT_EQ(LoggedNumbers(headless.log), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(Entries("out").size(), 9u);
    for (int n = 1; n <= 9; ++n) {
        EXPECT_EQ(testing::TestFolder::Read("out/img" + std::to_string(n) + ".jpg"), "stamped " + std::to_string(n));
    }

    headless.SetState(ControlId::ChkKeepNames, 1);
    state.batch.batchFiles = {"one/a.jpg", "two/a.jpg", "three/a.jpg"};
    tally = RunBatchFrame(state, work, 2);
    EXPECT_EQ(tally.written, 3);
    EXPECT_EQ(tally.replaced, 2);
    EXPECT_EQ(testing::TestFolder::Read("out/a.jpg"), "stamped 3");
    EXPECT_EQ(Entries("out").size(), 10u);
}

// A picture that does not load while read ahead (memory taken by the pictures beside it) is
// read once more in its turn, on the calling thread's own drawer, and only then reported.
TEST_F(BatchRunTest, APictureThatFailedAheadIsReadAgainInItsTurn) {
    state.shell.EventControl = ControlId::BtnBatchStart;
    std::filesystem::create_directories("out");
    state.batch.batchFiles.assign(4, "pics/a.jpg");
    state.batch.outputDir = "out/";
    std::mutex lock;
    std::map<int, std::vector<int>> tries;   // picture -> the worker numbers it was tried with
    const RunTally tally = RunBatchFrame(
        state,
        [&](int number, const std::string&, const std::string& output, int worker) {
            bool first = false;
            {
                std::lock_guard<std::mutex> hold(lock);
                first = tries[number].empty();
                tries[number].push_back(worker);
            }
            if (number == 2 && first) {
                stamping::StagedPicture failed;
                failed.status = stamping::StagedPicture::Status::NotLoaded;
                return failed;
            }
            if (number == 4) {   // never loads: reported after its second try
                stamping::StagedPicture failed;
                failed.status = stamping::StagedPicture::Status::NotLoaded;
                return failed;
            }
            return WriteAside(number, output);
        },
        2);
    EXPECT_EQ(tally.written, 3);
    EXPECT_EQ(tally.skipped, 1);
    EXPECT_EQ(testing::TestFolder::Read("out/img2.jpg"), "stamped 2");
    ASSERT_EQ(tries[2].size(), 2u);
    EXPECT_EQ(tries[2][1], 2);   // the calling thread's drawer, beside workers 0 and 1
    EXPECT_EQ(tries[4].size(), 2u);
    EXPECT_EQ(tries[1].size(), 1u);
    EXPECT_EQ(Entries("out"), (std::set<std::string>{"img1.jpg", "img2.jpg", "img3.jpg"}));
}

TEST_F(BatchRunTest, OutputThatIsASourceIsNeverWritten) {
    std::filesystem::create_directories("pics");
    testing::TestFolder::Write("pics/a.jpg", "original");
    testing::TestFolder::Write("pics/img2.jpg", "second original");
    // Keep-names into the sources' own folder, reached by another spelling of the folder.
    headless.SetState(ControlId::ChkKeepNames, 1);
    state.batch.batchFiles = {"pics/a.jpg", "pics/img2.jpg"};
    state.batch.outputDir = "./pics/";
    std::atomic<int> steps{0};
    const auto work = [&](int number, const std::string&, const std::string& output, int) {
        ++steps;
        return WriteAside(number, output);
    };
    RunTally tally = RunBatchFrame(state, work, 2);
    EXPECT_EQ(steps.load(), 0);
    EXPECT_EQ(tally.skipped, 2);
    EXPECT_EQ(testing::TestFolder::Read("pics/a.jpg"), "original");

    // Numbered names: img2.jpg is the second source, img1.jpg is new and written.
    headless.SetState(ControlId::ChkKeepNames, 0);
    tally = RunBatchFrame(state, work, 2);
    EXPECT_EQ(tally.written, 1);
    EXPECT_EQ(testing::TestFolder::Read("pics/img1.jpg"), "stamped 1");
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
    // The swap comes once picture 1 is written aside in out/ (then elsewhere/), before its
    // turn: when it is put in place, out/a.jpg is the source pics/a.jpg, so it is refused too.
    const RunTally tally = RunBatchFrame(
        state,
        [&](int number, const std::string&, const std::string& output, int) {
            stamping::StagedPicture staged = WriteAside(number, output);
            if (number == 1) {
                testing::TestFolder::Write("pics/.c.jpg.new", "edited");
                std::filesystem::rename("pics/.c.jpg.new", "pics/c.jpg");
                std::filesystem::remove("out");
                std::filesystem::create_symlink("pics", "out");
            }
            return staged;
        },
        1);
    EXPECT_EQ(tally.written, 0);
    EXPECT_EQ(tally.skipped, 3);
    EXPECT_EQ(testing::TestFolder::Read("pics/a.jpg"), "original");
    EXPECT_EQ(testing::TestFolder::Read("pics/b.jpg"), "original");
    EXPECT_EQ(testing::TestFolder::Read("pics/c.jpg"), "edited");
    // Nor is a temporary file left, in the folder picture 1 was written aside in or elsewhere.
    EXPECT_EQ(Entries("elsewhere"), std::set<std::string>{});
    EXPECT_EQ(Entries("pics"), (std::set<std::string>{"a.jpg", "b.jpg", "c.jpg"}));
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
