#pragma once

#include <functional>
#include <vector>

#include "stamping/StampPicture.h"

namespace velinor::stamping {

struct RunTotals {
    int written = 0;
    int skipped = 0;
    int failed = 0;
    bool stopped = false;   // shouldStop said yes before every picture was started
};

struct RunReport {
    // A picture finished: its job, what happened and how long it took, on the calling thread and
    // in the order of jobs.
    std::function<void(const StampJob& job, const StampOutcome& outcome, double milliseconds)> finished;
    std::function<void()> tick;          // may be empty
    std::function<bool()> shouldStop;    // may be empty
};

// Stamps every job with workers threads, each with a drawer (fonts and random numbers) of its
// own and the resources shared. Each picture is decoded, stamped, written and freed by one
// worker, so no more pictures than workers are in memory at once, however long the list; the
// workers run at most eight pictures each ahead of the one reported next, and with more than one
// worker they begin the largest of those first, by the pixels each job's header promises as read
// once by the caller (in promised, one a job; when it is empty, in list order).
RunTotals RunStamp(const std::vector<StampJob>& jobs, const StampSettings& settings, const OutputChoices& choices,
                   const StampResources& resources, int workers, const RunReport& report,
                   const std::vector<long long>& promised = {});

}  // namespace velinor::stamping
