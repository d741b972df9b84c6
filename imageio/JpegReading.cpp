#include "imageio/JpegReading.h"

#include <jerror.h>

#include <cstring>

#include "imageio/JpegMemory.h"
#include "imageio/JpegMetadata.h"

namespace velinor::imageio {

namespace {

// Progressive files can ask for any number of scans, each a pass over the whole picture;
// real files use a dozen or so, so a few hundred is a generous ceiling against a file
// built to keep the decoder busy.
constexpr int kMaxScans = 500;

[[noreturn]] void Fail(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegErrorManager*>(info->err)->jump, 1);
}

// Warnings are quiet, except that image data ending early is a failure. The data ends early
// either at the end of the file or at a marker in the middle of a scan (a cut file with an end
// marker appended looks like that).
void OnMessage(j_common_ptr info, int level) {
    if (level >= 0) return;
    if (info->err->msg_code == JWRN_JPEG_EOF || info->err->msg_code == JWRN_HIT_MARKER) Fail(info);
    ++info->err->num_warnings;
}

void IgnoreOutput(j_common_ptr) {}

void LimitScans(j_common_ptr info) {
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > kMaxScans) Fail(info);
}

}  // namespace

JpegReader::JpegReader() {
    static_assert(offsetof(JpegErrorManager, base) == 0);
    std::memset(&info_, 0, sizeof(info_));
    info_.err = jpeg_std_error(&errors_.base);
    errors_.base.error_exit = Fail;
    errors_.base.emit_message = OnMessage;
    errors_.base.output_message = IgnoreOutput;
    progress_.progress_monitor = LimitScans;
}

JpegReader::~JpegReader() { jpeg_destroy_decompress(&info_); }

bool JpegReader::Start(const JpegSource& source) {
    jpeg_decompress_struct& info = info_;
    jpeg_create_decompress(&info);
    UseReusableCoefficientMemory(reinterpret_cast<j_common_ptr>(&info));
    info.progress = &progress_;
    if (source.file != nullptr) {
        jpeg_stdio_src(&info, source.file);
    } else {
        jpeg_mem_src(&info, source.bytes.data(), static_cast<unsigned long>(source.bytes.size()));
    }
    KeepMetadataMarkers(info);
    return jpeg_read_header(&info, TRUE) == JPEG_HEADER_OK;
}

}  // namespace velinor::imageio
