#include "app/BatchRun.h"

#include <sys/stat.h>

#include <set>
#include <utility>

#include "app/BatchList.h"
#include "app/BatchPoll.h"
#include "app/Messages.h"
#include "app/ProgressWindow.h"
#include "imageio/Loader.h"
#include "imageio/Writer.h"
#include "render/ImageNumbers.h"

namespace velinor::app {

namespace {

using platform::ControlId;
namespace pic = render::pic;

constexpr int kMainWindow = static_cast<int>(platform::WindowId::Main);
constexpr int kLogoTab = 1;
constexpr int kMessageNoEntry = 93;
constexpr int kMessageNoBatchFont = 94;
constexpr int kMessageNoText = 95;

// The files of a run's list as the file system knows them (device and inode), so that an output
// name reaching one of them by another spelling, a link or a relative path is still recognised.
class SourceFiles {
public:
    explicit SourceFiles(const std::vector<std::string>& paths) {
        for (const std::string& path : paths) {
            struct stat info {};
            if (::stat(path.c_str(), &info) == 0) files_.insert({info.st_dev, info.st_ino});
        }
    }

    bool Holds(const std::string& path) const {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0 && files_.count({info.st_dev, info.st_ino}) != 0;
    }

private:
    std::set<std::pair<dev_t, ino_t>> files_;
};

int AskQuality(ProgramState& state) { return state.batch.JpegQuality; }

PictureOutcome StampText(ProgramState& state, const std::string& source, const std::string& output) {
    if (imageio::LoadPicture(state.images, pic::PicTextMark, source) == nullptr) return {SkipReason::NotLoaded};
    if (imageio::SavePicture(state.images, pic::PicTextMark, output, imageio::kEncoderJpeg,
                             state.batch.JpegQuality) != 1) {
        return {SkipReason::NotSaved};
    }
    return {};
}

}  // namespace

RunTally RunBatchFrame(ProgramState& state, const PictureStep& step) {
    platform::Platform& p = state.platform;
    BatchState& batch = state.batch;
    batch.Running = true;
    p.EnableControl(ControlId::BtnBatchStart, false);
    p.EnableWindow(kMainWindow, false);
    LoadTextTable(state.prefs, state.texts, state.shell.Language, kLastKey);
    OpenProgressWindow(state);

    RunTally tally;
    tally.listed = static_cast<int>(batch.Files.size());
    const SourceFiles sources(batch.Files);
    for (int n = 1; n <= tally.listed; ++n) {
        if (PollBetweenPictures(state) == BatchPollResult::Cancel) {
            tally.cancelled = true;
            break;
        }
        batch.Number = n;
        const std::string& source = batch.Files[static_cast<std::size_t>(n - 1)];
        const OutputName name = BatchOutputName(batch.OutputDir, state.shell.PictureName,
                                                p.GetState(ControlId::ChkKeepNames) != 0, n, source);
        PictureOutcome outcome;
        if (sources.Holds(name.path)) {
            outcome.skipped = SkipReason::WouldReplaceSource;
        } else {
            outcome = step(state, source, name.path);
        }
        if (outcome.skipped) {
            ++tally.skipped;
            AppendToBatchLog(state, SkippedLogLine(state.texts, source, *outcome.skipped));
        } else {
            ++tally.written;
            AppendToBatchLog(state, WrittenLogLine(state.texts, source, name));
        }
    }

    p.EnableControl(ControlId::BtnBatchStart, true);
    CloseProgressWindow(state);
    p.EnableWindow(kMainWindow, true);
    batch.Running = false;
    if (tally.skipped > 0) {
        p.MessageBox(state.texts[kWarningCaption], SkippedSummary(state.texts, tally.written, tally.listed),
                     platform::MessageIcon::Warning, platform::MessageButtons::Ok);
    }
    return tally;
}

void RunBatchFromPanel(ProgramState& state) {
    if (state.batch.Running) return;
    if (state.platform.GetState(ControlId::PnlBatchMark) == kLogoTab) {
        RunLogoBatch(state);
    } else {
        RunTextBatch(state);
    }
}

void RunTextBatch(ProgramState& state) {
    platform::Platform& p = state.platform;
    if (p.ItemCount(ControlId::LstBatch) == 0) {
        ShowWarning(state, kWarningCaption, kMessageNoEntry);
        return;
    }
    state.batch.JpegQuality = AskQuality(state);
    state.batch.Files = BatchEntries(state);
    if (!state.shell.BatchFontChosen) {
        ShowInformation(state, kInformationCaption, kMessageNoBatchFont);
        return;
    }
    const std::string text = p.GetText(ControlId::TxtBatchMark);
    if (text.empty()) {
        ShowInformation(state, kInformationCaption, kMessageNoText);
        return;
    }
    RunBatchFrame(state, StampText);
}

void RunLogoBatch(ProgramState& state) { (void)state; }

}  // namespace velinor::app
