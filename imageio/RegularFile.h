#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace velinor::imageio {

// Reading a FIFO, a device or a socket could block the program forever or never end, so files
// the program reads (pictures, the language and settings files) must be regular files.

// True when path (after symbolic links) names a regular file.
bool IsRegularFile(const std::string& path);

struct StreamCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using ReadStream = std::unique_ptr<std::FILE, StreamCloser>;

// path opened for reading when it is a regular file; null otherwise (errno tells why, EINVAL
// for a file that is not regular). Opening never waits, even on a FIFO without a writer.
ReadStream OpenRegularFile(const std::string& path);

}  // namespace velinor::imageio
