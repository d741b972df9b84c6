#pragma once

// jpeglib.h needs size_t and FILE declared first.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include <csetjmp>
#include <cstdint>
#include <span>

namespace velinor::imageio {

// A libjpeg error manager that remembers where to jump back to.
struct JpegErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

// Where the compressed bytes come from: memory, or an open file read as the decoder goes.
struct JpegSource {
    std::span<const std::uint8_t> bytes;
    std::FILE* file = nullptr;
};

// Owns a decompressor whose errors jump back to jump() instead of ending the process. Image data
// that ends early counts as an error too: libjpeg would pad the rest of the picture with grey,
// and a half-grey photo is not something to stamp and save. Destroying one that was never fully
// created is safe because the structure starts zeroed.
class JpegReader {
public:
    JpegReader();
    ~JpegReader();
    JpegReader(const JpegReader&) = delete;
    JpegReader& operator=(const JpegReader&) = delete;

    // Creates the decompressor (whole-picture arrays from reusable memory, a ceiling on the
    // number of scans, metadata markers kept) and reads the header. Call it after setjmp on jump():
    // library errors land there.
    bool Start(const JpegSource& source);

    jpeg_decompress_struct& info() { return info_; }
    std::jmp_buf& jump() { return errors_.jump; }
    // The error manager, for a compressor working beside this decompressor to share.
    jpeg_error_mgr& errors() { return errors_.base; }

private:
    jpeg_decompress_struct info_;
    JpegErrorManager errors_;
    jpeg_progress_mgr progress_{};
};

}  // namespace velinor::imageio
