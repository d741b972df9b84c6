#include "tools/velinor-cli/StampRunner.h"

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>

#include "stamping/InputFiles.h"
#include "stamping/MemoryBound.h"
#include "stamping/StampRun.h"
#include "stamping/WorkerPool.h"
#include "tools/velinor-cli/InfoJson.h"
#include "tools/velinor-cli/PresetFile.h"
#include "tools/velinor-cli/Progress.h"
#include "tools/velinor-cli/ReadProblem.h"
#include "tools/velinor-cli/StampOptions.h"

namespace velinor::tools {

namespace {

constexpr int kAllDone = 0;
constexpr int kNotStarted = 1;
constexpr int kUsage = 2;
constexpr int kSomeFailed = 3;

std::atomic<int> caughtSignal{0};

extern "C" void CatchStop(int signal) { caughtSignal.store(signal); }

// SIGINT and SIGTERM end the run after the pictures in flight; a second one ends it at once.
void CatchStopSignals() {
    struct sigaction action {};
    action.sa_handler = CatchStop;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

int Usage(const std::string& problem) {
    std::fprintf(stderr, "velinor-cli stamp: %s\n(velinor-cli stamp --help lists the options)\n", problem.c_str());
    return kUsage;
}

const char* StatusWord(stamping::StampStatus status) {
    switch (status) {
        case stamping::StampStatus::Ok: return "ok";
        case stamping::StampStatus::Skipped: return "skipped";
        case stamping::StampStatus::Failed: return "failed";
    }
    return "failed";
}

std::string Reason(const stamping::StampJob& job, const stamping::StampOutcome& outcome) {
    if (outcome.readFailure) {
        // ReadProblem names the file first; the reason alone follows it.
        const std::string line = ReadProblem(job.source, *outcome.readFailure, false);
        return line.compare(0, job.source.size() + 2, job.source + ": ") == 0 ? line.substr(job.source.size() + 2) : line;
    }
    return outcome.reason;
}

std::string JsonLine(const stamping::StampJob& job, const stamping::StampOutcome& outcome, double ms) {
    char numbers[96];
    std::snprintf(numbers, sizeof numbers, ",\"ms\":%.1f,\"width\":%d,\"height\":%d}\n", ms, outcome.width,
                  outcome.height);
    const std::string reason = Reason(job, outcome);
    return "{\"source\":" + JsonString(job.source) +
           ",\"output\":" + (outcome.output.empty() ? std::string("null") : JsonString(outcome.output)) +
           ",\"status\":\"" + StatusWord(outcome.status) + "\",\"reason\":" +
           (reason.empty() ? std::string("null") : JsonString(reason)) + numbers;
}

bool ReadableFontFile(const std::string& face, std::string& problem) {
    if (face.find('/') == std::string::npos) return true;
    struct stat info {};
    if (::stat(face.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || ::access(face.c_str(), R_OK) != 0) {
        problem = face + ": the font file cannot be read";
        return false;
    }
    return true;
}

// Fewer workers, with a notice, when that many pictures of the largest size would not fit in the
// memory the process may use.
int WorkersForRun(int wanted, const std::vector<stamping::StampJob>& jobs) {
    std::vector<std::string> sources;
    sources.reserve(jobs.size());
    for (const stamping::StampJob& job : jobs) sources.push_back(job.source);
    imageio::PictureSize largest;
    const int fit = stamping::WorkersForFiles(wanted, sources, &largest);
    if (fit < wanted) {
        std::fprintf(stderr,
                     "velinor-cli: %d pictures of %lldx%lld pixels at once would not fit in the memory free; "
                     "stamping %d at a time\n",
                     wanted, largest.width, largest.height, fit);
    }
    return fit;
}

}  // namespace

int RunStampCommand(const std::vector<std::string>& arguments) {
    StampCommand command;
    std::string problem;
    // The preset is read first, so that the options given override it.
    {
        StampCommand first;
        if (!ParseStampArguments(arguments, first, problem)) return Usage(problem);
        if (first.help) {
            std::fputs(StampHelp().c_str(), stdout);
            return kAllDone;
        }
        if (first.preset && !ReadPresetFile(*first.preset, command, problem)) {
            std::fprintf(stderr, "velinor-cli: %s\n", problem.c_str());
            return kNotStarted;
        }
    }
    if (!ParseStampArguments(arguments, command, problem) || !FinishStampCommand(command, problem)) return Usage(problem);
    const stamping::StampSettings& settings = command.settings;
    if (settings.text && !ReadableFontFile(settings.text->font.face, problem)) {
        std::fprintf(stderr, "velinor-cli: %s\n", problem.c_str());
        return kNotStarted;
    }
    stamping::StampResources resources;
    if (const auto missing = stamping::LoadStampResources(settings, resources)) {
        std::fprintf(stderr, "velinor-cli: %s\n", ReadProblem(missing->file, missing->failure, missing->logo).c_str());
        return kNotStarted;
    }
    if (!stamping::MakeFolders(command.outputFolder, problem)) {
        std::fprintf(stderr, "velinor-cli: %s\n", problem.c_str());
        return kNotStarted;
    }

    std::vector<std::string> listProblems;
    const std::vector<stamping::StampJob> jobs =
        stamping::ListJobs(command.inputs, command.recursive, command.outputFolder, listProblems);
    for (const std::string& line : listProblems) std::fprintf(stderr, "velinor-cli: %s\n", line.c_str());
    command.output.date = stamping::Today();
    const int workers = WorkersForRun(command.jobs > 0 ? command.jobs : stamping::UsableProcessors(), jobs);

    CatchStopSignals();
    Progress progress(static_cast<int>(jobs.size()), ::isatty(STDERR_FILENO) == 1);
    const auto start = std::chrono::steady_clock::now();
    stamping::RunReport report;
    report.finished = [&](const stamping::StampJob& job, const stamping::StampOutcome& outcome, double ms) {
        progress.Clear();
        for (const std::string& warning : outcome.warnings) {
            std::fprintf(stderr, "velinor-cli: %s: %s\n", job.source.c_str(), warning.c_str());
        }
        if (outcome.status == stamping::StampStatus::Failed) {
            std::fprintf(stderr, "velinor-cli: %s: %s\n", job.source.c_str(), Reason(job, outcome).c_str());
        }
        if (command.json) std::fputs(JsonLine(job, outcome, ms).c_str(), stdout);
        progress.Done();
    };
    report.tick = [&] { progress.Draw(); };
    report.shouldStop = [] { return caughtSignal.load() != 0; };
    const stamping::RunTotals totals = stamping::RunStamp(jobs, settings, command.output, resources, workers, report);
    progress.Clear();

    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const int failed = totals.failed + static_cast<int>(listProblems.size());
    if (command.json) {
        std::printf("{\"summary\":true,\"written\":%d,\"skipped\":%d,\"failed\":%d,\"seconds\":%.3f,\"interrupted\":%s}\n",
                    totals.written, totals.skipped, failed, seconds, caughtSignal.load() != 0 ? "true" : "false");
    } else {
        std::fprintf(stderr, "velinor-cli: %d written, %d skipped, %d failed, %.2f s\n", totals.written, totals.skipped,
                     failed, seconds);
    }
    std::fflush(stdout);
    if (const int signal = caughtSignal.load()) return 128 + signal;
    return failed > 0 ? kSomeFailed : kAllDone;
}

}  // namespace velinor::tools
