#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <new>

namespace velinor::imageio {

// Picture files are read and written through large stdio buffers: a photo then takes a few
// dozen system calls instead of one for every 4 KB the codec libraries ask for.
constexpr std::size_t kStreamBufferBytes = std::size_t{256} << 10;

// Gives stream a buffer of kStreamBufferBytes kept in owner, which must outlive the stream's
// closing; call it before the first read or write. Without memory for it the stream keeps its
// own small buffer.
inline void GiveLargeBuffer(std::FILE* stream, std::unique_ptr<char[]>& owner) {
    owner.reset(new (std::nothrow) char[kStreamBufferBytes]);
    if (owner && std::setvbuf(stream, owner.get(), _IOFBF, kStreamBufferBytes) != 0) owner.reset();
}

}  // namespace velinor::imageio
