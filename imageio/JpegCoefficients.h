#pragma once

// jpeglib.h needs size_t and FILE declared first.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "imageio/FileBytes.h"
#include "imageio/JpegMetadata.h"
#include "imageio/JpegReading.h"
#include "imageio/PictureMetadata.h"

// A JPEG file's DCT coefficients read whole, changed in place block by block and written back
// coded as the file was: the same quantisation tables and sampling, the same scans in the same
// order (so baseline stays baseline and progressive stays progressive), the same restart
// interval, and for a sequential file its own Huffman tables while they hold a code for every
// symbol the blocks need.
namespace velinor::imageio {

// One scan as its SOS marker gave it.
struct JpegScan {
    int count = 0;                    // components in the scan
    std::array<int, 4> components{};  // their indexes in the frame
    int Ss = 0, Se = 63, Ah = 0, Al = 0;
};

// A block of one component, by its row and column of blocks.
struct BlockPlace {
    int component = 0;
    int row = 0, column = 0;
};

class JpegCoefficients {
public:
    JpegCoefficients() = default;
    JpegCoefficients(const JpegCoefficients&) = delete;
    JpegCoefficients& operator=(const JpegCoefficients&) = delete;

    // Reads the coefficients of the JPEG file at path, and its metadata into metadata. Empty when
    // they can be changed and written back; otherwise what keeps them from it, in words for a
    // notice ("arithmetic coding", "12-bit samples", "CMYK colours", "damaged image data", ...).
    std::string Read(const std::string& path, PictureMetadata& metadata);

    const jpeg_decompress_struct& Info() { return reader_.info(); }
    const std::vector<JpegScan>& Scans() const { return scans_; }

    // The rows of blocks of component that make up iMCU row imcuRow (its vertical sampling
    // factor of them), to read and change.
    JBLOCKARRAY ImcuRow(int component, int imcuRow);

    // Writes the coefficients to file with the metadata markers and ICC profile (see
    // WriteJpegMarkers). changed lists the blocks that were changed since reading: the source's
    // Huffman tables are kept when they code every symbol, else optimal ones are made. False on
    // a library or write error.
    bool Write(std::FILE* file, const std::vector<JpegMarker>& markers, const std::vector<std::uint8_t>& icc,
               const std::vector<BlockPlace>& changed);

    // Whether the last Write kept the source's Huffman tables.
    bool KeptHuffmanTables() const { return keptTables_; }

    // Used while reading: the progress hook notes each scan as it starts.
    void NoteScan();
    struct ProgressHook {
        jpeg_progress_mgr base{};   // first: the library sees only this
        JpegCoefficients* owner = nullptr;
    };

private:
    bool TablesCodeEverything(const std::vector<BlockPlace>& changed);

    std::optional<PictureFile> file_;
    JpegReader reader_;
    ProgressHook hook_;
    jvirt_barray_ptr* arrays_ = nullptr;
    std::vector<JpegScan> scans_;
    // The Huffman tables each component was coded with in the first scan that held it, and
    // whether any later scan coded it with others.
    struct Tables {
        bool seen = false;
        int dc = 0, ac = 0;
        JHUFF_TBL dcTable{}, acTable{};
    };
    std::array<Tables, MAX_COMPONENTS> tables_{};
    bool tablesChange_ = false;
    bool keptTables_ = false;
    std::vector<jpeg_scan_info> script_;
};

}  // namespace velinor::imageio
