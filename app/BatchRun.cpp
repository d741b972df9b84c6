#include "app/BatchRun.h"

#include <map>
#include <utility>

#include "app/BatchList.h"
#include "app/BatchPoll.h"
#include "app/PicturePrefetch.h"
#include "app/MarkControls.h"
#include "app/Messages.h"
#include "app/ColourPicker.h"
#include "app/ProgressWindow.h"
#include "app/QualityWindow.h"
#include "app/Settings.h"
#include "app/TextKeys.h"
#include "imageio/Loader.h"
#include "imageio/OutputGuard.h"
#include "imageio/Writer.h"
#include "marks/LogoPlacement.h"
#include "marks/LogoRoutes.h"
#include "marks/TextMark.h"
#include "stamping/LosslessStamp.h"
#include "stamping/StampMarks.h"
#include "stamping/StampPicture.h"
#include "app/ImageNumbers.h"

namespace velinor::app {

namespace {

using platform::ControlId;
using platform::kMainWindow;

constexpr int kLogoTab = 1;

// Frees number and loads the run's current picture into it, decoded ahead when it could be;
// then the next picture starts decoding while this one is stamped and written.
// The picture's metadata goes to metadata; each block of it that was left out gets a line in the log.
render::ImageHandle LoadRunPicture(ProgramState& state, int number, const std::string& source,
                                   imageio::PictureMetadata& metadata) {
    BatchState& batch = state.batch;
    imageio::LoadFailure failure;
    render::ImageHandle picture = batch.prefetch == nullptr
                                      ? imageio::LoadPicture(state.images, number, source, failure, &metadata)
                                      : batch.prefetch->Load(state.images, number, source, &metadata);
    for (const std::string& warning : metadata.warnings) AppendToBatchLog(state, source + ": " + warning);
    if (batch.prefetch == nullptr) return picture;
    if (batch.batchNumber >= 1 && static_cast<std::size_t>(batch.batchNumber) < batch.batchFiles.size()) {
        batch.prefetch->Start(batch.batchFiles[static_cast<std::size_t>(batch.batchNumber)]);
    }
    return picture;
}

// Why output may not be written now, when the guard of the run refuses it.
std::optional<SkipReason> Refusal(const BatchState& batch, const std::string& output) {
    if (batch.guard == nullptr) return std::nullopt;
    std::size_t which = 0;
    switch (batch.guard->Check(output, &which)) {
        case imageio::OutputRefusal::None: return std::nullopt;
        case imageio::OutputRefusal::SymbolicLink: return SkipReason::OutputIsLink;
        case imageio::OutputRefusal::ReadByRun: break;
    }
    return which < batch.batchFiles.size() ? SkipReason::WouldReplaceSource : SkipReason::WouldReplaceLogo;
}

PictureOutcome Save(ProgramState& state, int number, const std::string& source, const std::string& output,
                    const imageio::PictureMetadata& metadata) {
    imageio::MetadataChoices choices;
    choices.policy = state.shell.Metadata;
    // A JPEG source keeps its own quality when the quality window was told so: only the blocks
    // the mark changed are coded again. One that cannot (or any other picture) is encoded again.
    if (state.shell.KeepJpegQuality) {
        const render::RasterImage* picture = state.images.Find(number);
        std::string notice;
        if (picture != nullptr &&
            stamping::WriteKeepingQuality(source, *picture, choices, output, state.batch.guard, notice)) {
            return {};
        }
        if (!notice.empty()) AppendToBatchLog(state, source + ": " + notice);
    }
    // The guard is asked again as the file is put in place: a source may have been replaced
    // under an output's name since the picture was begun.
    if (imageio::SavePicture(state.images, number, output, imageio::kEncoderJpeg, state.shell.JpegQuality, &metadata,
                             choices, state.batch.guard) != 1) {
        return {Refusal(state.batch, output).value_or(SkipReason::NotSaved)};
    }
    return {};
}

// Text batch, one picture: load it into PicTextMark, write the text at the batch anchor in the
// mark font (created anew for every picture), save.
PictureStep TextStep(const std::string& text) {
    return [text](ProgramState& state, const std::string& source, const std::string& output) -> PictureOutcome {
        imageio::PictureMetadata metadata;
        render::RasterImage* picture = LoadRunPicture(state, pic::PicTextMark, source, metadata);
        if (picture == nullptr) return {SkipReason::NotLoaded};
        stamping::MarkDrawer(state.marks.fonts, state.marks.random)
            .DrawText(*picture, WindowTextMark(state, ControlId::OptBatchTextPos1, text), {}, text);
        return Save(state, pic::PicTextMark, source, output, metadata);
    };
}

// Logo batch, one picture: load it into PicWork, decode the logo into PicLogo again, draw it
// keyed or blended at the batch anchor, save, and free both pictures.
PictureOutcome LogoStep(ProgramState& state, const std::string& source, const std::string& output) {
    PictureOutcome outcome;
    imageio::PictureMetadata metadata;
    render::RasterImage* work = LoadRunPicture(state, pic::PicWork, source, metadata);
    if (work == nullptr) {
        outcome.skipped = SkipReason::NotLoaded;
    } else {
        const marks::LogoLoad logo = marks::LoadLogoPicture(state.images, pic::PicLogo, state.marks.LogoFile);
        work = state.images.Find(pic::PicWork);
        if (logo.handle == nullptr || work == nullptr) {
            outcome.skipped = SkipReason::LogoNotLoaded;
        } else {
            stamping::MarkDrawer(state.marks.fonts, state.marks.random)
                .DrawLogo(*work, WindowLogoMark(state, ControlId::OptBatchLogoPos1, ControlId::TrkBatchAlpha),
                          {logo.handle, logo.keyed, state.marks.LogoKeyColor}, {});
            outcome = Save(state, pic::PicWork, source, output, metadata);
        }
    }
    state.images.DropImage(pic::PicWork);
    state.images.DropImage(pic::PicLogo);
    return outcome;
}

// A picture name from a hand-edited settings file that would lead outside the output folder
// refuses the run (numbered names only: kept names do not use it).
bool PictureNameRefused(ProgramState& state) {
    if (state.platform.GetState(ControlId::ChkKeepNames) != 0 || PlainPictureName(state.shell.PictureName)) return false;
    ShowWarning(state, kTextWarning, kTextBadPictureName);
    return true;
}

}  // namespace

RunTally RunBatchFrame(ProgramState& state, const PictureStep& step, const std::string& logo) {
    platform::Platform& p = state.platform;
    BatchState& batch = state.batch;
    batch.running = true;
    p.EnableControl(ControlId::BtnBatchStart, false);
    p.EnableWindow(kMainWindow, false);
    LoadTextTable(state.prefs, state.texts, ShownLanguage(state), kLastKey);
    OpenProgressWindow(state);

    RunTally tally;
    tally.listed = static_cast<int>(batch.batchFiles.size());
    // Sources first, so that their numbers are their places in the list; the logo after them.
    imageio::OutputGuard guard(batch.batchFiles);
    if (!logo.empty()) guard.Protect(logo);
    batch.guard = &guard;
    // Which picture of this run wrote each output so far, by the name as it resolves.
    std::map<std::string, int> writtenBy;
    // The steps decode the next picture ahead through this; a cancel only drops what was read.
    PicturePrefetch prefetch(PicturePrefetch::SeveralProcessors());
    batch.prefetch = &prefetch;
    for (int n = 1; n <= tally.listed; ++n) {
        if (PollBetweenPictures(state) == BatchPollResult::Cancel) {
            tally.cancelled = true;
            break;
        }
        batch.batchNumber = n;
        const std::string& source = batch.batchFiles[static_cast<std::size_t>(n - 1)];
        const OutputName name = BatchOutputName(batch.outputDir, state.shell.PictureName,
                                                p.GetState(ControlId::ChkKeepNames) != 0, n, source);
        PictureOutcome outcome{Refusal(batch, name.path)};
        if (!outcome.skipped) outcome = step(state, source, name.path);
        if (outcome.skipped) {
            ++tally.skipped;
            AppendToBatchLog(state, SkippedLogLine(state.texts, source, *outcome.skipped));
            continue;
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
    }

    prefetch.Stop();
    batch.prefetch = nullptr;
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
    RunBatchFrame(state, TextStep(text));
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
    RunBatchFrame(state, LogoStep, m.LogoFile);
}

}  // namespace velinor::app
