#include "app/BatchRun.h"

#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include "app/BatchList.h"
#include "app/BatchPoll.h"
#include "app/MarkControls.h"
#include "app/Messages.h"
#include "app/ColourPicker.h"
#include "app/ProgressWindow.h"
#include "app/QualityWindow.h"
#include "app/Settings.h"
#include "app/TextKeys.h"
#include "imageio/OutputGuard.h"
#include "marks/LogoRoutes.h"
#include "render/FontTable.h"
#include "render/Random.h"
#include "runtime/ThreadSignalStack.h"
#include "stamping/MemoryBound.h"
#include "stamping/StampMarks.h"
#include "stamping/WorkerPool.h"
#include "app/ImageNumbers.h"

namespace velinor::app {

namespace {

using platform::ControlId;
using platform::kMainWindow;

constexpr int kLogoTab = 1;

// Why output may not be written now, when guard refuses it; sources is the number of sources
// the guard protects before the logo.
std::optional<SkipReason> Refusal(const imageio::OutputGuard& guard, std::size_t sources, const std::string& output) {
    std::size_t which = 0;
    switch (guard.Check(output, &which)) {
        case imageio::OutputRefusal::None: return std::nullopt;
        case imageio::OutputRefusal::SymbolicLink: return SkipReason::OutputIsLink;
        case imageio::OutputRefusal::ReadByRun: break;
    }
    return which < sources ? SkipReason::WouldReplaceSource : SkipReason::WouldReplaceLogo;
}

SkipReason SkipFor(stamping::StagedPicture::Status status) {
    switch (status) {
        case stamping::StagedPicture::Status::NotLoaded: return SkipReason::NotLoaded;
        case stamping::StagedPicture::Status::NotDrawn: return SkipReason::LogoNotLoaded;
        case stamping::StagedPicture::Status::Ready:
        case stamping::StagedPicture::Status::NotWritten: break;
    }
    return SkipReason::NotSaved;
}

// How the window's batch writes its pictures: JPEG at the run's quality, the metadata as the
// window chose, and its own quality kept for a JPEG when the quality window was told so.
stamping::StageChoices WindowStageChoices(const ProgramState& state) {
    stamping::StageChoices choices;
    choices.encoder = imageio::kEncoderJpeg;
    choices.quality = state.shell.JpegQuality;
    choices.metadata.policy = state.shell.Metadata;
    choices.keepQuality = state.shell.KeepJpegQuality;
    return choices;
}

// What one worker draws with: fonts and random numbers of its own.
struct WorkerDrawer {
    render::FontTable fonts;
    render::RandomSource random;
    stamping::MarkDrawer drawer{fonts, random};
};

// 32 megapixels a worker, a 128 MB pixel store: most camera photos run side by side, and a
// larger picture waits until it fits beside the others, or is stamped alone.
constexpr long long kPixelsEachWorker = 1LL << 25;

// One drawer a worker, and one more (number workers) for the calling thread's second tries.
std::shared_ptr<std::vector<std::unique_ptr<WorkerDrawer>>> WorkerDrawers(int workers) {
    auto drawers = std::make_shared<std::vector<std::unique_ptr<WorkerDrawer>>>();
    for (int w = 0; w <= std::max(1, workers); ++w) drawers->push_back(std::make_unique<WorkerDrawer>());
    return drawers;
}

// Text batch, one picture: the text at the batch anchor in the mark font. The last listed
// picture is kept, and left in PicTextMark as a run one picture after the other leaves it.
PictureWork TextWork(const ProgramState& state, const std::string& text, int workers) {
    const stamping::TextMarkSettings mark = WindowTextMark(state, ControlId::OptBatchTextPos1, text);
    const stamping::StageChoices choices = WindowStageChoices(state);
    const int count = static_cast<int>(state.batch.batchFiles.size());
    auto drawers = WorkerDrawers(workers);
    return [mark, choices, count, drawers](int number, const std::string& source, const std::string& output,
                                           int worker) {
        stamping::StageChoices these = choices;
        these.keepPicture = number == count;
        stamping::MarkDrawer& drawer = (*drawers)[static_cast<std::size_t>(worker)]->drawer;
        return stamping::StagePicture(
            source, output, these,
            [&](render::RasterImage& picture) {
                drawer.DrawText(picture, mark, {}, mark.text);
                return true;
            },
            [&](int width, int height) { return drawer.TextRows(width, height, mark, {}, mark.text); });
    };
}

// Logo batch, one picture: the logo, read once for the run, drawn keyed or blended at the batch
// anchor. Without a logo that decoded, every picture that loads is skipped for it.
PictureWork LogoWork(const ProgramState& state, std::shared_ptr<const render::RasterImage> logo, bool keyed,
                     int workers) {
    const stamping::LogoMarkSettings mark =
        WindowLogoMark(state, ControlId::OptBatchLogoPos1, ControlId::TrkBatchAlpha);
    const stamping::StageChoices choices = WindowStageChoices(state);
    const render::Color keyColour = state.marks.LogoKeyColor;
    auto drawers = WorkerDrawers(workers);
    return [mark, choices, logo, keyed, keyColour, drawers](int, const std::string& source,
                                                           const std::string& output, int worker) {
        stamping::MarkDrawer& drawer = (*drawers)[static_cast<std::size_t>(worker)]->drawer;
        const stamping::LoadedLogo loaded{logo.get(), keyed, keyColour};
        // Without a logo the picture is skipped once read: nothing is written while it is read.
        stamping::MarkRows rows;
        if (logo) {
            rows = [&](int width, int height) { return stamping::MarkDrawer::LogoRows(width, height, mark, loaded, {}); };
        }
        return stamping::StagePicture(
            source, output, choices,
            [&](render::RasterImage& picture) {
                if (!logo) return false;
                drawer.DrawLogo(picture, mark, loaded, {});
                return true;
            },
            rows);
    };
}

// A picture name from a hand-edited settings file that would lead outside the output folder
// refuses the run (numbered names only: kept names do not use it).
bool PictureNameRefused(ProgramState& state) {
    if (state.platform.GetState(ControlId::ChkKeepNames) != 0 || PlainPictureName(state.shell.PictureName)) return false;
    ShowWarning(state, kTextWarning, kTextBadPictureName);
    return true;
}

}  // namespace

RunTally RunBatchFrame(ProgramState& state, const PictureWork& work, int workers, const std::string& logo,
                       std::vector<long long> promised) {
    platform::Platform& p = state.platform;
    BatchState& batch = state.batch;
    batch.running = true;
    p.EnableControl(ControlId::BtnBatchStart, false);
    p.EnableWindow(kMainWindow, false);
    LoadTextTable(state.prefs, state.texts, ShownLanguage(state), kLastKey);
    OpenProgressWindow(state);

    RunTally tally;
    // The workers read the list, the names and the guard while this thread runs: all three stay
    // as they are until the run is over.
    const std::vector<std::string> files = batch.batchFiles;
    tally.listed = static_cast<int>(files.size());
    const bool keepNames = p.GetState(ControlId::ChkKeepNames) != 0;
    const std::string outputDir = batch.outputDir;
    const std::string pictureName = state.shell.PictureName;
    const auto nameOf = [&](int index) {
        return BatchOutputName(outputDir, pictureName, keepNames, index + 1, files[static_cast<std::size_t>(index)]);
    };
    // Sources first, so that their numbers are their places in the list; the logo after them.
    imageio::OutputGuard guard(files);
    if (!logo.empty()) guard.Protect(logo);
    batch.guard = &guard;

    // What the workers left for the pictures not yet taken, by index.
    struct Done {
        std::optional<SkipReason> refused;   // refused before its work began
        stamping::StagedPicture staged;
    };
    std::mutex doneLock;
    std::map<int, Done> done;
    // Which picture of this run wrote each output so far, by the name as it resolves.
    std::map<std::string, int> writtenBy;

    // The pixels each picture's header promises, read once: the largest start first, and each
    // picture holds its share of the run's pixel budget while it is stamped.
    if (promised.size() != files.size()) {
        promised.clear();
        promised.reserve(files.size());
        for (const std::string& file : files) promised.push_back(stamping::PromisedPixels(file));
    }
    stamping::PixelBudget budget(std::max(1, workers) * kPixelsEachWorker);
    const auto stage = [&](int index, const std::string& output, int worker) {
        const auto pixels = budget.Take(promised[static_cast<std::size_t>(index)]);
        return work(index + 1, files[static_cast<std::size_t>(index)], output, worker);
    };

    stamping::PoolCallbacks pool;
    pool.task = [&](int index, int worker) {
        Done result;
        const OutputName name = nameOf(index);
        result.refused = Refusal(guard, files.size(), name.path);
        if (!result.refused) result.staged = stage(index, name.path, worker);
        std::lock_guard<std::mutex> hold(doneLock);
        done[index] = std::move(result);
    };
    pool.before = [&](int) {
        if (PollBetweenPictures(state) != BatchPollResult::Cancel) return true;
        tally.cancelled = true;
        return false;
    };
    pool.finished = [&](int index) {
        Done result;
        {
            std::lock_guard<std::mutex> hold(doneLock);
            const auto at = done.find(index);
            result = std::move(at->second);
            done.erase(at);
        }
        const int n = index + 1;
        batch.batchNumber = n;
        const std::string& source = files[static_cast<std::size_t>(index)];
        const OutputName name = nameOf(index);
        if (n == tally.listed && result.staged.picture) tally.lastPicture = std::move(result.staged.picture);
        // Asked again now: a source may have been replaced under an output's name, or a link
        // planted there, since the picture was begun.
        std::optional<SkipReason> skipped = Refusal(guard, files.size(), name.path);
        if (!skipped) skipped = result.refused;
        if (!skipped && result.staged.status == stamping::StagedPicture::Status::NotLoaded) {
            // Read ahead beside the other pictures in memory, a picture may fail for want of
            // memory and load once they are gone: it is read once more in its own turn, on
            // this thread with the drawer kept for it, before it is reported.
            result.staged = stage(index, name.path, workers);
        }
        if (!skipped) {
            for (const std::string& notice : result.staged.notices) AppendToBatchLog(state, source + ": " + notice);
            if (result.staged.status != stamping::StagedPicture::Status::Ready) {
                skipped = SkipFor(result.staged.status);
            } else if (!result.staged.file->Commit(&guard)) {
                skipped = Refusal(guard, files.size(), name.path).value_or(SkipReason::NotSaved);
            }
        }
        if (skipped) {
            ++tally.skipped;
            AppendToBatchLog(state, SkippedLogLine(state.texts, source, *skipped));
            return;
        }
        ++tally.written;
        std::string line = WrittenLogLine(state.texts, source, name);
        // Two sources of the same file name with kept names: the later one's result replaces the
        // earlier one's, which the log and the warning at the end say.
        const auto [earlier, first] = writtenBy.try_emplace(imageio::ResolvedName(name.path), n);
        if (!first) {
            line += ReplacedOutputLine(state.texts, earlier->second);
            earlier->second = n;
            ++tally.replaced;
        }
        AppendToBatchLog(state, line);
    };
    // The largest pictures start first, as far ahead as the pool goes: left to their turn, one
    // large photo among small ones runs alone at the end while the other processor waits.
    pool.weight = [&](int index) { return promised[static_cast<std::size_t>(index)]; };
    pool.ahead = 8 * std::max(1, workers);
    // A fault on a worker reaches the fault report as one on this thread does.
    pool.perThread = [] { return std::make_shared<runtime::ThreadSignalStack>(); };
    stamping::RunPool(tally.listed, workers, pool);
    // Pictures stamped ahead of a cancel go with their temporary files.
    done.clear();

    batch.guard = nullptr;
    p.EnableControl(ControlId::BtnBatchStart, true);
    CloseProgressWindow(state);
    p.EnableWindow(kMainWindow, true);
    batch.running = false;
    if (tally.skipped > 0 || tally.replaced > 0) {
        p.MessageBox(state.texts[kTextWarning], RunSummary(state.texts, tally.written, tally.listed, tally.skipped > 0, tally.replaced),
                     platform::MessageIcon::Warning, platform::MessageButtons::Ok);
    }
    return tally;
}

int BatchWorkers(const ProgramState& state, std::vector<long long>& promised) {
    return stamping::WorkersForFiles(stamping::UsableProcessors(), state.batch.batchFiles, state.shell.KeepJpegQuality,
                                     nullptr, &promised);
}

void RunBatch(ProgramState& state) {
    if (state.batch.running) return;
    if (state.platform.GetState(ControlId::PnlBatchMark) == kLogoTab) {
        RunLogoBatch(state);
    } else {
        RunTextBatch(state);
    }
}

void RunTextBatch(ProgramState& state) {
    platform::Platform& p = state.platform;
    if (p.ItemCount(ControlId::LstBatch) == 0) {
        ShowWarning(state, kTextWarning, kTextNoEntry);
        return;
    }
    state.shell.JpegQuality = AskJpegQuality(state, true);
    state.batch.batchFiles = BatchEntries(state);
    if (!state.shell.BatchFontChosen) {
        ShowInformation(state, kTextInformation, kTextNoBatchFont);
        return;
    }
    const std::string text = p.GetText(ControlId::TxtBatchMark);
    if (text.empty()) {
        ShowInformation(state, kTextInformation, kTextNoText);
        return;
    }
    if (PictureNameRefused(state)) return;
    std::vector<long long> promised;
    const int workers = BatchWorkers(state, promised);
    RunTally tally = RunBatchFrame(state, TextWork(state, text, workers), workers, {}, std::move(promised));
    // PicTextMark holds the last picture of the list, as drawn, or nothing when it did not load.
    state.images.DropImage(pic::PicTextMark);
    if (tally.lastPicture) state.images.StoreImage(pic::PicTextMark, std::move(*tally.lastPicture));
}

void RunLogoBatch(ProgramState& state) {
    platform::Platform& p = state.platform;
    MarkState& m = state.marks;
    // GIF and ICO logos are drawn leaving out a key colour, which is asked before anything else.
    if (marks::LogoRouteFor(m.LogoFile).route == marks::LogoRoute::Library) {
        m.LogoKeyColor = PickColour(state, m.LogoFile);
    }
    if (p.ItemCount(ControlId::LstBatch) == 0) {
        ShowWarning(state, kTextInformation, kTextNoEntry);
        return;
    }
    state.shell.JpegQuality = AskJpegQuality(state, true);
    state.batch.batchFiles = BatchEntries(state);
    // The field keeps showing the last logo after a cancelled requester emptied LogoFile; with
    // no file there is nothing to draw, so that is refused like an empty field.
    if (p.GetText(ControlId::TxtBatchLogoFile).empty() || m.LogoFile.empty()) {
        ShowInformation(state, kTextInformation, kTextNoLogo);
        return;
    }
    if (state.batch.outputDir.empty()) {
        ShowInformation(state, kTextInformation, kTextNoOutputDir);
        return;
    }
    if (PictureNameRefused(state)) return;
    // The logo is read once, here, and shared read-only by the workers.
    const marks::LogoLoad loaded = marks::LoadLogoPicture(state.images, pic::PicLogo, m.LogoFile);
    std::shared_ptr<const render::RasterImage> logo;
    if (loaded.handle != nullptr) logo = std::make_shared<const render::RasterImage>(*loaded.handle);
    state.images.DropImage(pic::PicLogo);
    state.images.DropImage(pic::PicWork);
    std::vector<long long> promised;
    const int workers = BatchWorkers(state, promised);
    RunBatchFrame(state, LogoWork(state, std::move(logo), loaded.keyed, workers), workers, m.LogoFile,
                  std::move(promised));
}

}  // namespace velinor::app
