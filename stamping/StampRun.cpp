#include "stamping/StampRun.h"

#include <chrono>
#include <memory>
#include <mutex>
#include <set>

#include "stamping/InputFiles.h"
#include "stamping/WorkerPool.h"

namespace velinor::stamping {

namespace {

// What one worker draws with.
struct Worker {
    render::FontTable fonts;
    render::RandomSource random;
    MarkDrawer drawer{fonts, random};
};

struct Finished {
    StampOutcome outcome;
    double milliseconds = 0;
};

}  // namespace

RunTotals RunStamp(const std::vector<StampJob>& jobs, const StampSettings& settings, const OutputChoices& choices,
                   const StampResources& resources, int workers, const RunReport& report,
                   const std::vector<long long>& promised) {
    std::vector<std::string> sourcePaths;
    sourcePaths.reserve(jobs.size());
    for (const StampJob& job : jobs) sourcePaths.push_back(job.source);
    std::vector<std::string> others;
    if (settings.logo) others.push_back(settings.logo->file);
    if (settings.texture) others.push_back(settings.texture->tile);
    const ReadFiles reads(sourcePaths, others);

    const int count = static_cast<int>(jobs.size());
    std::vector<std::unique_ptr<Worker>> states;
    for (int w = 0; w < std::max(1, std::min(workers, count)); ++w) states.push_back(std::make_unique<Worker>());
    // One outcome per picture in flight or finished and not yet reported.
    std::mutex lock;
    std::vector<std::unique_ptr<Finished>> results(static_cast<std::size_t>(count));
    std::mutex foldersLock;
    std::set<std::string> madeFolders;

    RunTotals totals;
    PoolCallbacks pool;
    pool.task = [&](int index, int worker) {
        const StampJob& job = jobs[static_cast<std::size_t>(index)];
        const auto start = std::chrono::steady_clock::now();
        auto result = std::make_unique<Finished>();
        std::string problem;
        bool folderReady;
        {
            std::lock_guard<std::mutex> hold(foldersLock);
            folderReady = madeFolders.count(job.outputFolder) != 0 || MakeFolders(job.outputFolder, problem);
            if (folderReady) madeFolders.insert(job.outputFolder);
        }
        if (folderReady) {
            result->outcome = StampOnePicture(job, settings, choices, resources, states[static_cast<std::size_t>(worker)]->drawer,
                                              reads);
        } else {
            result->outcome.reason = problem;
        }
        result->milliseconds =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        std::lock_guard<std::mutex> hold(lock);
        results[static_cast<std::size_t>(index)] = std::move(result);
    };
    pool.finished = [&](int index) {
        std::unique_ptr<Finished> result;
        {
            std::lock_guard<std::mutex> hold(lock);
            result = std::move(results[static_cast<std::size_t>(index)]);
        }
        switch (result->outcome.status) {
            case StampStatus::Ok: ++totals.written; break;
            case StampStatus::Skipped: ++totals.skipped; break;
            case StampStatus::Failed: ++totals.failed; break;
        }
        if (report.finished) report.finished(jobs[static_cast<std::size_t>(index)], result->outcome, result->milliseconds);
    };
    // With more than one worker the largest pictures start first, as far ahead as the pool goes:
    // left to its turn, one large photo among small ones runs alone at the end while the other
    // workers wait.
    if (workers > 1 && promised.size() == jobs.size()) {
        pool.weight = [&](int index) { return promised[static_cast<std::size_t>(index)]; };
    }
    pool.tick = report.tick;
    pool.shouldStop = report.shouldStop;
    const int ran = RunPool(count, workers, pool);
    totals.stopped = ran < count;
    return totals;
}

}  // namespace velinor::stamping
