// The worker pool and the placing of outputs when several workers finish at once.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "stamping/InputFiles.h"
#include "stamping/OutputFiles.h"
#include "stamping/WorkerPool.h"

namespace velinor::stamping {
namespace {

namespace fs = std::filesystem;

class Folder {
public:
    Folder() {
        char pattern[] = "/tmp/velinor-stamping.XXXXXX";
        path_ = ::mkdtemp(pattern);
    }
    ~Folder() { fs::remove_all(path_); }
    const std::string& Path() const { return path_; }
    void Write(const std::string& name, const std::string& text = "x") const {
        fs::create_directories(fs::path(path_ / fs::path(name)).parent_path());
        std::ofstream(path_ + "/" + name) << text;
    }
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(path_)) names.insert(entry.path().filename().string());
        return names;
    }

private:
    std::string path_;
};

TEST(WorkerPool, RunsEveryTaskOnceWithNoMoreThanItsWorkersAtOnceAndReportsOnTheCallingThread) {
    constexpr int kTasks = 200;
    std::vector<std::atomic<int>> runs(kTasks);
    std::atomic<int> inFlight{0}, mostInFlight{0};
    std::set<int> finished;
    const std::thread::id caller = std::this_thread::get_id();
    bool finishedElsewhere = false;
    PoolCallbacks callbacks;
    callbacks.task = [&](int index, int worker) {
        const int now = ++inFlight;
        int seen = mostInFlight.load();
        while (now > seen && !mostInFlight.compare_exchange_weak(seen, now)) {
        }
        EXPECT_GE(worker, 0);
        EXPECT_LT(worker, 3);
        ++runs[static_cast<std::size_t>(index)];
        std::this_thread::sleep_for(std::chrono::microseconds(200));
        --inFlight;
    };
    callbacks.finished = [&](int index) {
        finishedElsewhere = finishedElsewhere || std::this_thread::get_id() != caller;
        finished.insert(index);
    };
    EXPECT_EQ(RunPool(kTasks, 3, callbacks), kTasks);
    for (const auto& count : runs) EXPECT_EQ(count.load(), 1);
    EXPECT_EQ(finished.size(), static_cast<std::size_t>(kTasks));
    EXPECT_FALSE(finishedElsewhere);
    EXPECT_LE(mostInFlight.load(), 3);
}

// Tasks that finish out of order are handed over in list order, and none starts more than
// ahead places beyond the one to be handed over next.
TEST(WorkerPool, HandsOverInListOrderAndRunsNoFurtherAheadThanAllowed) {
    constexpr int kTasks = 60;
    std::atomic<int> handed{0}, furthest{0};
    std::vector<int> order;
    PoolCallbacks callbacks;
    callbacks.ahead = 3;
    callbacks.task = [&](int index, int) {
        furthest = std::max(furthest.load(), index - handed.load());
        // Every third task is slow, so the ones after it finish first.
        std::this_thread::sleep_for(std::chrono::milliseconds(index % 3 == 0 ? 6 : 1));
    };
    callbacks.finished = [&](int index) {
        order.push_back(index);
        ++handed;
    };
    EXPECT_EQ(RunPool(kTasks, 3, callbacks), kTasks);
    std::vector<int> expected(kTasks);
    for (int i = 0; i < kTasks; ++i) expected[static_cast<std::size_t>(i)] = i;
    EXPECT_EQ(order, expected);
    EXPECT_LT(furthest.load(), 3);
    EXPECT_GT(furthest.load(), 0);   // they did run ahead
}

// With weights, a free worker takes the heaviest task it may start (the first of equals), and
// every task is still handed over in list order. One worker, every task within reach.
TEST(WorkerPool, TheHeaviestTaskAllowedStartsFirstAndResultsStayInListOrder) {
    const std::vector<long long> weights{1, 1, 1, 5, 1, 9, 1, 1};
    std::vector<int> starts, order;
    std::mutex lock;
    PoolCallbacks callbacks;
    callbacks.ahead = 8;
    callbacks.weight = [&](int index) { return weights[static_cast<std::size_t>(index)]; };
    callbacks.task = [&](int index, int) {
        std::lock_guard<std::mutex> hold(lock);
        starts.push_back(index);
    };
    callbacks.finished = [&](int index) { order.push_back(index); };
    EXPECT_EQ(RunPool(8, 1, callbacks), 8);
    EXPECT_EQ(starts, (std::vector<int>{5, 3, 0, 1, 2, 4, 6, 7}));
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
}

// before says no at task 4: tasks 0..3 are handed over, 4 and later never are, whatever ran
// ahead, and the pool returns only once every task it started has ended.
TEST(WorkerPool, BeforeSayingNoEndsTheRunAtThatTask) {
    std::atomic<int> running{0}, started{0};
    std::vector<int> order, asked;
    PoolCallbacks callbacks;
    callbacks.task = [&](int, int) {
        ++started;
        ++running;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        --running;
    };
    callbacks.before = [&](int index) {
        asked.push_back(index);
        return index < 4;
    };
    callbacks.finished = [&](int index) { order.push_back(index); };
    EXPECT_EQ(RunPool(100, 2, callbacks), 4);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(asked, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(running.load(), 0);
    EXPECT_LE(started.load(), 4 + 16);   // at most ahead (eight a worker) beyond task 4
}

TEST(WorkerPool, AStopStartsNoNewTaskAndWaitsForThoseInFlight) {
    std::atomic<int> started{0};
    std::atomic<bool> stop{false};
    int finished = 0;
    PoolCallbacks callbacks;
    callbacks.task = [&](int, int) {
        if (++started == 5) stop = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    };
    callbacks.finished = [&](int) { ++finished; };
    callbacks.shouldStop = [&] { return stop.load(); };
    callbacks.tickEvery = std::chrono::milliseconds(1);
    const int ran = RunPool(1000, 2, callbacks);
    EXPECT_EQ(ran, started.load());
    EXPECT_EQ(finished, started.load());
    EXPECT_LT(ran, 20);
}

TEST(WorkerPool, AnEmptyListRunsNothing) {
    PoolCallbacks callbacks;
    callbacks.task = [](int, int) { FAIL(); };
    callbacks.finished = [](int) { FAIL(); };
    EXPECT_EQ(RunPool(0, 4, callbacks), 0);
}

// Eight workers finishing pictures of one name at the same moment: each gets a name of its
// own, none is lost or replaced, and no temporary file is left.
TEST(PendingOutput, UniqueNamesHoldWhenWorkersFinishTheSameNameAtOnce) {
    Folder out;
    const ReadFiles sources({}, {});
    std::mutex lock;
    std::vector<std::string> placed;
    std::vector<std::thread> threads;
    for (int w = 0; w < 8; ++w) {
        threads.emplace_back([&, w] {
            PendingOutput output(out.Path(), "photo.jpg");
            std::string problem;
            ASSERT_TRUE(output.Create(problem)) << problem;
            std::ofstream(output.TemporaryPath()) << "picture " << w;
            const PendingOutput::Result result = output.Commit(OnExists::Unique, sources);
            ASSERT_EQ(result.placed, PendingOutput::Placed::Written) << result.problem;
            std::lock_guard<std::mutex> hold(lock);
            placed.push_back(result.path);
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(std::set<std::string>(placed.begin(), placed.end()).size(), 8u);
    EXPECT_EQ(out.Names(), (std::set<std::string>{"photo.jpg", "photo-1.jpg", "photo-2.jpg", "photo-3.jpg", "photo-4.jpg",
                                                  "photo-5.jpg", "photo-6.jpg", "photo-7.jpg"}));
    std::set<std::string> contents;
    for (const std::string& path : placed) {
        std::ifstream in(path);
        std::string text;
        std::getline(in, text);
        contents.insert(text);
    }
    EXPECT_EQ(contents.size(), 8u);
}

TEST(PendingOutput, AnOutputNotCommittedLeavesNothing) {
    Folder out;
    {
        PendingOutput output(out.Path(), "photo.jpg");
        std::string problem;
        ASSERT_TRUE(output.Create(problem));
        EXPECT_EQ(out.Names().size(), 1u);
    }
    EXPECT_TRUE(out.Names().empty());
}

TEST(PendingOutput, SkipLeavesTheFileThereAndRemovesItsTemporary) {
    Folder out;
    out.Write("photo.jpg", "old");
    PendingOutput output(out.Path(), "photo.jpg");
    std::string problem;
    ASSERT_TRUE(output.Create(problem));
    EXPECT_EQ(output.Commit(OnExists::Skip, ReadFiles({}, {})).placed, PendingOutput::Placed::Skipped);
    std::ifstream in(out.Path() + "/photo.jpg");
    std::string text;
    in >> text;
    EXPECT_EQ(text, "old");
}

TEST(OutputNames, NamesStayInTheirFolder) {
    EXPECT_EQ(SafeFileName("../../etc/passwd"), ".._.._etc_passwd");
    EXPECT_EQ(SafeFileName("a/b.jpg"), "a_b.jpg");
    EXPECT_EQ(SafeFileName(".."), "");
    EXPECT_EQ(SafeFileName(""), "");
}

TEST(OutputNames, SameFormatKeepsWrittenKindsAndTheirSpellingElseJpeg) {
    EXPECT_EQ(FormatFor(std::nullopt, "a/Photo.JPG").extension, "JPG");
    EXPECT_EQ(FormatFor(std::nullopt, "b.png").encoder, imageio::kEncoderPng);
    EXPECT_EQ(FormatFor(std::nullopt, "c.bmp").encoder, imageio::kEncoderBmp);
    const OutputFormat tga = FormatFor(std::nullopt, "d.tga");
    EXPECT_EQ(tga.encoder, imageio::kEncoderJpeg);
    EXPECT_EQ(tga.extension, "jpg");
    EXPECT_EQ(FormatFor(imageio::PictureKind::Png, "e.jpg").extension, "png");
}

TEST(InputFiles, FoldersGiveTheirPicturesInNameOrderAndRecursionKeepsTheLayout) {
    Folder in;
    in.Write("b.jpg");
    in.Write("a.png");
    in.Write("notes.txt");
    in.Write("sub/c.bmp");
    in.Write("sub/deep/d.jpg");
    fs::create_directory_symlink(in.Path() + "/sub", in.Path() + "/loop");
    std::vector<std::string> problems;
    const auto flat = ListJobs({in.Path()}, false, "/out/", problems);
    ASSERT_EQ(flat.size(), 2u);
    EXPECT_EQ(flat[0].source, in.Path() + "/a.png");
    EXPECT_EQ(flat[1].source, in.Path() + "/b.jpg");
    EXPECT_EQ(flat[1].outputFolder, "/out");
    EXPECT_EQ(flat[1].number, 2);
    EXPECT_EQ(flat[1].count, 2);
    const auto tree = ListJobs({in.Path(), in.Path() + "/missing.jpg"}, true, "/out", problems);
    ASSERT_EQ(tree.size(), 4u);   // the linked folder is not walked a second time
    EXPECT_EQ(tree[2].source, in.Path() + "/sub/c.bmp");
    EXPECT_EQ(tree[2].outputFolder, "/out/sub");
    EXPECT_EQ(tree[3].outputFolder, "/out/sub/deep");
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("missing.jpg"), std::string::npos);
}

}  // namespace
}  // namespace velinor::stamping
