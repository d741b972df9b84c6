#pragma once

#include "app/ProgramState.h"

namespace velinor::app {

enum class BatchPollResult { Continue, Cancel };

// The one event a batch run takes between two pictures, and all it does with it.
//
// - Exactly one PollEvent per call; it never waits, and a run calls it once before each picture.
// - A control event is remembered as the most recent control event (as the loop would), and
//   nothing more: no handler runs, so no click of the main window (start included) can begin a
//   second run inside this one, and no list edit reaches the list the run is reading.
// - When an event was taken and the most recent control event came from BtnBatchCancel, the
//   run ends before the next picture.
// - Every other event (pointer movement, repaint, keys, toolbar, drops, close) is dropped
//   without being handled: the mode panels, status hints and the close request wait until the
//   run is over, and a close is not seen at all.
//
// Because only one event is taken per picture, other pending events can delay a cancel by a
// picture or more; the run never leaves a picture half done.
BatchPollResult PollBetweenPictures(ProgramState& state);

}  // namespace velinor::app
