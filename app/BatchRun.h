#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/BatchLog.h"
#include "app/ProgramState.h"
#include "render/RasterImage.h"
#include "stamping/StagedPicture.h"

// The batch run: its checks, and the frame that walks the list with the progress window open.
namespace velinor::app {

// The work of one picture, done on a worker thread ahead of its turn: reads source, stamps it
// and writes it beside output under a temporary name (stamping::StagePicture), touching nothing
// of the program's state or the platform. number is the picture's place in the list (1-based),
// worker the thread's number 0..workers-1, or workers for a picture that did not load ahead
// and is read once more on the calling thread in its turn.
using PictureWork = std::function<stamping::StagedPicture(int number, const std::string& source,
                                                          const std::string& output, int worker)>;

// Counts of a run that reached its frame.
struct RunTally {
    int listed = 0;      // pictures in the snapshot
    int written = 0;
    int skipped = 0;     // not written, with a log line saying why
    int replaced = 0;    // written over the output of an earlier picture of the same run
    bool cancelled = false;
    // The stamped picture of the last listed picture, when its work kept it and its turn came.
    std::optional<render::RasterImage> lastPicture;
};

// Runs work over state.batch.batchFiles on workers threads with the main window disabled and the
// progress window open. The workers stamp pictures ahead; this thread takes them in list order:
// one polled event before each picture (cancel ends the run there), then the picture's output is
// put in place and its log line added, so the log and the files are those of a run that stamps
// one picture after the other. The work ahead waits as temporary files, at most eight pictures a
// worker beyond the one taken next, and no two pictures larger than a worker's share of pixels
// are stamped side by side (see stamping::PixelBudget). Work done ahead of a cancel is thrown
// away with its temporary files. At the end the start button and the main window are enabled again and the progress
// window closed. No file the run reads (its sources, and logo when not empty) is ever written: a
// picture whose output name is one of them, by path as it resolves when the picture is put in
// place or by the file it was at the start, is skipped unwritten, and so is one whose output name
// is a symbolic link. A picture written over the output of an earlier picture of the run says so
// in its line. When any picture was skipped or replaced an earlier output, a warning then says
// how many of the listed pictures were written (and how many replaced an earlier output).
// promised holds the pixels each listed picture's header promises when the caller has read them
// (see BatchWorkers); otherwise the run reads them.
RunTally RunBatchFrame(ProgramState& state, const PictureWork& work, int workers, const std::string& logo = {},
                       std::vector<long long> promised = {});

// The number of workers the run of the batch list gets: as many as the processors this process
// may use, fewer when that many of its largest pictures would not fit in memory, as they are
// stamped (block by block when the JPEG quality is kept). The headers it reads for that leave
// the pixels each picture promises in promised, for RunBatchFrame.
int BatchWorkers(const ProgramState& state, std::vector<long long>& promised);

// BtnBatchStart: a logo batch when the mark panel shows its logo tab, else a text batch.
void RunBatch(ProgramState& state);

// The two runs with their checks and questions, in order.
void RunTextBatch(ProgramState& state);
void RunLogoBatch(ProgramState& state);

}  // namespace velinor::app
