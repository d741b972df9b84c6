#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "stamping/InputFiles.h"
#include "stamping/StampPicture.h"

// A run's share of a list that several runs split between them without talking to each other:
// share I of N takes the pictures whose place in the whole list is I modulo N.
namespace velinor::stamping {

struct Share {
    int index = 0;
    int count = 1;
    std::string why;   // where index and count came from, for the summary
};

// Looks up an environment variable: its value, or null when it is not set.
using Environment = std::function<const char*(const char* name)>;

// The share a run takes. shard: the --shard I/N text, when given; shards: --shards N, or 0.
// Without --shard the scheduler's own variables say it: SLURM_ARRAY_TASK_ID (with
// SLURM_ARRAY_TASK_COUNT, or SLURM_ARRAY_TASK_MIN and MAX, and SLURM_ARRAY_TASK_STEP), else
// JOB_COMPLETION_INDEX or AWS_BATCH_JOB_ARRAY_INDEX with --shards N. Without any of them, the
// whole list. Nothing, with problem, for a share that does not fit together.
std::optional<Share> ChooseShare(const std::optional<std::string>& shard, int shards, const Environment& environment,
                                 std::string& problem);

// The pictures of list in share, each numbered by its place in the whole list; a name of the
// share that could not be taken becomes a line of problems instead.
std::vector<StampJob> TakeShare(const PictureList& list, const Share& share, std::vector<std::string>& problems);

}  // namespace velinor::stamping
