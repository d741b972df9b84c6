#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "imageio/DecodeLimits.h"

// How many pictures may be in flight at once in the memory the process may use.
namespace velinor::stamping {

// The size a picture file's header promises (BMP, ICO, TGA, PNG, and JPEG from its frame
// header), read from the file's first bytes and, for a JPEG, its segment headers only. Nothing
// when the header does not say.
std::optional<imageio::PictureSize> PromisedSize(const std::string& path);

// The bytes the process may still use: the least of the memory the system has available, the
// address-space limit and the cgroup's limit, where each is known; nothing when none is.
std::optional<std::uint64_t> UsableMemory();

// The bytes one worker needs for a picture of size: the decoded picture (four bytes a pixel)
// and what decoding and encoding it hold beside it.
std::uint64_t BytesInFlight(imageio::PictureSize size);

// The number of workers, at most wanted, whose pictures of the largest size fit in memory;
// at least 1.
int WorkersThatFit(int wanted, imageio::PictureSize largest, std::uint64_t memory);

}  // namespace velinor::stamping
