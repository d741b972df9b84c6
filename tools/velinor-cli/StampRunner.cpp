#include "tools/velinor-cli/StampRunner.h"

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>

#include "stamping/InputFiles.h"
#include "stamping/JobLog.h"
#include "stamping/MemoryBound.h"
#include "stamping/OutputFiles.h"
#include "stamping/Shares.h"
#include "stamping/StampRun.h"
#include "stamping/TextVariables.h"
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
        // ReadProblem names the file first ("PATH: why" or "PATH why"); the reason alone follows it.
        const std::string line = ReadProblem(job.source, *outcome.readFailure, false);
        for (const std::string& head : {job.source + ": ", job.source + " "}) {
            if (line.compare(0, head.size(), head) == 0) return line.substr(head.size());
        }
        return line;
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
// memory the process may use; the pixels each job's header promises go to promised.
int WorkersForRun(int wanted, const std::vector<stamping::StampJob>& jobs, bool blockByBlock,
                  std::vector<long long>& promised) {
    std::vector<std::string> sources;
    sources.reserve(jobs.size());
    for (const stamping::StampJob& job : jobs) sources.push_back(job.source);
    imageio::PictureSize largest;
    const int fit = stamping::WorkersForFiles(wanted, sources, blockByBlock, &largest, &promised);
    if (fit < wanted) {
        std::fprintf(stderr,
                     "velinor-cli: %d pictures of %lldx%lld pixels at once would not fit in the memory free; "
                     "stamping %d at a time\n",
                     wanted, largest.width, largest.height, fit);
    }
    return fit;
}

// Reads an earlier run's --json log. A log not written yet holds nothing done.
bool ReadResumeLog(const std::string& path, stamping::DoneBefore& done) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 && errno == ENOENT) {
        std::fprintf(stderr, "velinor-cli: %s is not there yet: nothing is done before this run\n", path.c_str());
        return true;
    }
    std::string problem;
    if (stamping::ReadJobLog(path, done, problem)) return true;
    std::fprintf(stderr, "velinor-cli: %s\n", problem.c_str());
    return false;
}

// A run that leaves finished outputs alone is how a run is started again: the temporary files
// that stopped runs left of this run's outputs go (a name that needs the picture's metadata is
// not known before it is read, and its leftovers stay).
void RemoveLeftovers(const std::vector<stamping::StampJob>& jobs, const stamping::OutputChoices& choices) {
    if (choices.nameTemplate.find("{exif:") != std::string::npos) return;
    std::map<std::string, std::set<std::string>> names;
    for (const stamping::StampJob& job : jobs) {
        const stamping::PictureFacts facts{job.source, stamping::FormatFor(choices.format, job.source).extension,
                                           job.number, job.count, choices.date, nullptr};
        const std::string name = stamping::SafeFileName(stamping::FillVariables(choices.nameTemplate, facts));
        if (!name.empty()) names[job.outputFolder].insert(name);
    }
    const int removed = stamping::RemoveLeftovers(names);
    if (removed > 0) {
        std::fprintf(stderr, "velinor-cli: removed %d temporary file%s left by runs that were stopped\n", removed,
                     removed == 1 ? "" : "s");
    }
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
    const auto share = stamping::ChooseShare(command.shard, command.shards, [](const char* name) { return std::getenv(name); },
                                             problem);
    if (!share) return Usage(problem);
    std::vector<std::string> listedNames;
    for (const std::string& list : command.filesFrom) {
        if (!stamping::ReadFileList(list, command.nulSeparated, listedNames, problem)) {
            std::fprintf(stderr, "velinor-cli: %s\n", problem.c_str());
            return kNotStarted;
        }
    }
    stamping::DoneBefore doneBefore;
    if (command.resume && !ReadResumeLog(*command.resume, doneBefore)) return kNotStarted;
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

    stamping::ListRequest request;
    request.inputs = command.inputs;
    request.listed = std::move(listedNames);
    request.recursive = command.recursive;
    request.outputFolder = command.outputFolder;
    request.base = command.base;
    const stamping::PictureList list = stamping::ListPictures(request);
    std::vector<std::string> listProblems;
    std::vector<stamping::StampJob> jobs = stamping::TakeShare(list, *share, listProblems);
    for (const std::string& line : listProblems) std::fprintf(stderr, "velinor-cli: %s\n", line.c_str());
    command.output.date = stamping::Today();
    if (command.output.onExists == stamping::OnExists::Skip) RemoveLeftovers(jobs, command.output);
    // What an earlier run's log reports done is not stamped again; it is reported skipped, so
    // that this run's log is complete in its turn.
    int resumed = 0;
    if (command.resume) {
        std::vector<stamping::StampJob> left;
        for (stamping::StampJob& job : jobs) {
            const auto done = doneBefore.outputs.find(stamping::ListKey(job.source));
            if (done == doneBefore.outputs.end()) {
                left.push_back(std::move(job));
                continue;
            }
            ++resumed;
            if (command.json) {
                stamping::StampOutcome outcome;
                outcome.status = stamping::StampStatus::Skipped;
                outcome.output = done->second;
                outcome.reason = "done by an earlier run (" + *command.resume + ")";
                std::fputs(JsonLine(job, outcome, 0).c_str(), stdout);
            }
        }
        jobs = std::move(left);
    }
    std::vector<long long> promised;
    const int workers = WorkersForRun(command.jobs > 0 ? command.jobs : stamping::UsableProcessors(), jobs,
                                      command.settings.lossless, promised);

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
    const stamping::RunTotals totals = stamping::RunStamp(jobs, settings, command.output, resources, workers, report, promised);
    progress.Clear();

    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const int failed = totals.failed + static_cast<int>(listProblems.size());
    const int skipped = totals.skipped + resumed;
    const int listed = static_cast<int>(list.pictures.size());
    if (command.json) {
        std::printf("{\"summary\":true,\"written\":%d,\"skipped\":%d,\"failed\":%d,\"seconds\":%.3f,\"interrupted\":%s,"
                    "\"share\":%d,\"shares\":%d,\"shareFrom\":%s,\"listed\":%d,\"duplicates\":%d}\n",
                    totals.written, skipped, failed, seconds, caughtSignal.load() != 0 ? "true" : "false", share->index,
                    share->count, JsonString(share->why).c_str(), listed, list.duplicates);
    } else {
        std::string more;
        if (share->count > 1) {
            more += "; share " + std::to_string(share->index) + "/" + std::to_string(share->count) + " (" + share->why +
                    "): " + std::to_string((listed + share->count - 1 - share->index) / share->count) + " of the " +
                    std::to_string(listed) + " pictures listed";
        }
        if (resumed > 0) more += "; " + std::to_string(resumed) + " done by an earlier run";
        if (list.duplicates > 0) {
            more += "; " + std::to_string(list.duplicates) + (list.duplicates == 1 ? " name" : " names") +
                    " listed again, stamped once";
        }
        std::fprintf(stderr, "velinor-cli: %d written, %d skipped, %d failed, %.2f s%s\n", totals.written, skipped,
                     failed, seconds, more.c_str());
    }
    std::fflush(stdout);
    if (const int signal = caughtSignal.load()) return 128 + signal;
    return failed > 0 ? kSomeFailed : kAllDone;
}

}  // namespace velinor::tools
