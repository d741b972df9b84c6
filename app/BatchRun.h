#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/BatchLog.h"
#include "app/ProgramState.h"

// The batch run: its checks, and the frame that walks the list with the progress window open.
namespace velinor::app {

// What the step of one picture did: written, or skipped for a reason.
struct PictureOutcome {
    std::optional<SkipReason> skipped;   // empty: the picture was written
};

// Stamps and writes one picture: source is its entry of the list, output the file to write.
using PictureStep = std::function<PictureOutcome(ProgramState& state, const std::string& source,
                                                 const std::string& output)>;

// Counts of a run that reached its frame.
struct RunTally {
    int listed = 0;      // pictures in the snapshot
    int written = 0;
    int skipped = 0;     // not written, with a log line saying why
    int replaced = 0;    // written over the output of an earlier picture of the same run
    bool cancelled = false;
};

// Runs step over state.batch.batchFiles with the main window disabled and the progress window open:
// one polled event before each picture (cancel ends the run there), one log line per picture,
// and at the end the start button and the main window enabled again and the progress window
// closed. No file the run reads (its sources, and logo when not empty) is ever written: a picture
// whose output name is one of them, by path as it resolves when the picture is written or by the
// file it was at the start, is skipped unwritten, and so is one whose output name is a symbolic
// link. A picture written over the output of an earlier picture of the run says so in its line.
// When any picture was skipped or replaced an earlier output, a warning then says how many of the
// listed pictures were written (and how many replaced an earlier output).
RunTally RunBatchFrame(ProgramState& state, const PictureStep& step, const std::string& logo = {});

// BtnBatchStart: a logo batch when the mark panel shows its logo tab, else a text batch.
void RunBatch(ProgramState& state);

// The two runs with their checks and questions, in order.
void RunTextBatch(ProgramState& state);
void RunLogoBatch(ProgramState& state);

}  // namespace velinor::app
