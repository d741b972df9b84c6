#include "stamping/Shares.h"

#include <cstdlib>
#include <string_view>

namespace velinor::stamping {

namespace {

constexpr long kMostShares = 1000000;

// A whole number 0..kMostShares written in decimal digits only.
std::optional<long> Number(std::string_view text) {
    if (text.empty() || text.size() > 7 || text.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    const long value = std::strtol(std::string(text).c_str(), nullptr, 10);
    if (value > kMostShares) return std::nullopt;
    return value;
}

std::string Said(const char* name, const char* value) { return std::string(name) + "=" + value; }

// SLURM_ARRAY_TASK_ID and its fellows: the task's place among the array's tasks.
std::optional<Share> SlurmShare(const char* id, int shards, const Environment& environment, std::string& problem) {
    const char* countText = environment("SLURM_ARRAY_TASK_COUNT");
    const char* minText = environment("SLURM_ARRAY_TASK_MIN");
    const char* maxText = environment("SLURM_ARRAY_TASK_MAX");
    const char* stepText = environment("SLURM_ARRAY_TASK_STEP");
    const auto task = Number(id);
    const auto low = minText ? Number(minText) : std::optional<long>(0);
    const auto step = stepText ? Number(stepText) : std::optional<long>(1);
    if (!task || !low || !step || *step == 0) {
        problem = "the Slurm array variables are not whole numbers (" + Said("SLURM_ARRAY_TASK_ID", id) + ")";
        return std::nullopt;
    }
    std::string why = Said("SLURM_ARRAY_TASK_ID", id);
    if (minText) why += " " + Said("SLURM_ARRAY_TASK_MIN", minText);
    if (stepText && *step != 1) why += " " + Said("SLURM_ARRAY_TASK_STEP", stepText);
    long count = 0;
    if (shards > 0) {
        count = shards;
        why += " --shards " + std::to_string(shards);
    } else if (countText) {
        const auto given = Number(countText);
        if (!given) {
            problem = "SLURM_ARRAY_TASK_COUNT is not a whole number";
            return std::nullopt;
        }
        count = *given;
        why += " " + Said("SLURM_ARRAY_TASK_COUNT", countText);
    } else if (maxText) {
        const auto high = Number(maxText);
        if (!high || *high < *low) {
            problem = "SLURM_ARRAY_TASK_MAX is not a whole number at least SLURM_ARRAY_TASK_MIN";
            return std::nullopt;
        }
        count = (*high - *low) / *step + 1;
        why += " " + Said("SLURM_ARRAY_TASK_MAX", maxText);
    } else {
        problem = "SLURM_ARRAY_TASK_ID is set without SLURM_ARRAY_TASK_COUNT or SLURM_ARRAY_TASK_MAX: give --shards N";
        return std::nullopt;
    }
    if (*task < *low || (*task - *low) % *step != 0 || count < 1 || (*task - *low) / *step >= count) {
        problem = "Slurm task " + std::string(id) + " is not one of " + std::to_string(count) +
                  " evenly spaced tasks (" + why + "): submit a range such as --array=0-" +
                  std::to_string(count > 0 ? count - 1 : 0) + ", or give --shard I/N";
        return std::nullopt;
    }
    return Share{static_cast<int>((*task - *low) / *step), static_cast<int>(count), why};
}

// An index variable that says only the place: the count is --shards N.
std::optional<Share> IndexShare(const char* name, const char* value, int shards, std::string& problem) {
    const auto index = Number(value);
    if (!index) {
        problem = Said(name, value) + " is not a whole number";
        return std::nullopt;
    }
    if (shards <= 0) {
        problem = std::string(name) + " is set: give --shards N, the number of tasks (or --shard I/N)";
        return std::nullopt;
    }
    if (*index >= shards) {
        problem = Said(name, value) + " is not below --shards " + std::to_string(shards);
        return std::nullopt;
    }
    return Share{static_cast<int>(*index), shards, Said(name, value) + " --shards " + std::to_string(shards)};
}

}  // namespace

std::optional<Share> ChooseShare(const std::optional<std::string>& shard, int shards, const Environment& environment,
                                 std::string& problem) {
    if (shard) {
        const std::size_t slash = shard->find('/');
        const auto index = slash == std::string::npos ? std::nullopt : Number(std::string_view(*shard).substr(0, slash));
        const auto count = slash == std::string::npos ? std::nullopt : Number(std::string_view(*shard).substr(slash + 1));
        if (!index || !count || *count < 1 || *index >= *count) {
            problem = "--shard takes I/N with 0 <= I < N, such as 0/4";
            return std::nullopt;
        }
        if (shards > 0 && shards != *count) {
            problem = "--shard " + *shard + " and --shards " + std::to_string(shards) + " disagree";
            return std::nullopt;
        }
        return Share{static_cast<int>(*index), static_cast<int>(*count), "--shard " + *shard};
    }
    if (const char* id = environment("SLURM_ARRAY_TASK_ID")) return SlurmShare(id, shards, environment, problem);
    for (const char* name : {"JOB_COMPLETION_INDEX", "AWS_BATCH_JOB_ARRAY_INDEX"}) {
        if (const char* value = environment(name)) return IndexShare(name, value, shards, problem);
    }
    if (shards > 0) {
        problem = "--shards N needs the task's place: --shard I/N, or SLURM_ARRAY_TASK_ID, JOB_COMPLETION_INDEX "
                  "or AWS_BATCH_JOB_ARRAY_INDEX";
        return std::nullopt;
    }
    return Share{0, 1, "the whole list"};
}

std::vector<StampJob> TakeShare(const PictureList& list, const Share& share, std::vector<std::string>& problems) {
    return JobsAt(list, share.index, share.count, problems);
}

}  // namespace velinor::stamping
