#include "imageio/JpegCoefficients.h"

#include <jerror.h>

#include <algorithm>
#include <bitset>
#include <csetjmp>
#include <cstring>

#include "imageio/DecodeLimits.h"
#include "imageio/PictureHead.h"
#include "render/RasterImage.h"

namespace velinor::imageio {

namespace {

// As many scans as the decoder takes (see JpegReading.cpp).
constexpr int kMaxScans = 500;

void OnProgress(j_common_ptr info) {
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > kMaxScans) std::longjmp(reinterpret_cast<JpegErrorManager*>(info->err)->jump, 1);
    // The progress structure is the first member of the hook the reader set up.
    reinterpret_cast<JpegCoefficients::ProgressHook*>(info->progress)->owner->NoteScan();
}

// Why the library refused the file, from its last error.
const char* Refusal(const jpeg_decompress_struct& info) {
    const int code = info.err->msg_code;
    if (code == JERR_BAD_PRECISION) return "12-bit samples";
    if (code == JERR_SOF_UNSUPPORTED) {
        const int marker = info.err->msg_parm.i[0];
        if (marker == 0xC3 || marker == 0xC7 || marker == 0xCB || marker == 0xCF) return "lossless JPEG";
        return "an unsupported JPEG process";
    }
    return "damaged image data";
}

bool SameTable(const JHUFF_TBL& a, const JHUFF_TBL& b) {
    return std::memcmp(a.bits, b.bits, sizeof(a.bits)) == 0 && std::memcmp(a.huffval, b.huffval, sizeof(a.huffval)) == 0;
}

// The symbols a Huffman table gives a code.
std::bitset<256> Coded(const JHUFF_TBL& table) {
    std::bitset<256> coded;
    int count = 0;
    for (int length = 1; length <= 16; ++length) count += table.bits[length];
    for (int i = 0; i < std::min(count, 256); ++i) coded.set(table.huffval[i]);
    return coded;
}

int Category(int value) {
    int magnitude = value < 0 ? -value : value;
    int bits = 0;
    while (magnitude != 0) {
        ++bits;
        magnitude >>= 1;
    }
    return bits;
}

// The zigzag order values are coded in: kZigzag[k] is the natural (row by row) index of the k-th.
constexpr int kZigzag[DCTSIZE2] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                                   12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                                   35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                                   58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

// Adds the AC symbols of a block coded whole (spectral selection 1..63) to needed.
void AddAcSymbols(const JCOEF* block, std::bitset<256>& needed) {
    int run = 0;
    for (int k = 1; k < DCTSIZE2; ++k) {
        const int value = block[kZigzag[k]];
        if (value == 0) {
            ++run;
            continue;
        }
        while (run > 15) {
            needed.set(0xF0);
            run -= 16;
        }
        needed.set(static_cast<std::size_t>((run << 4) | Category(value)));
        run = 0;
    }
    if (run > 0) needed.set(0x00);
}

// Holds nothing with a destructor: library errors longjmp out of it.
bool Compress(jpeg_compress_struct& out, jpeg_error_mgr& errors, std::jmp_buf& jump, std::FILE* file,
              jpeg_decompress_struct& source, jvirt_barray_ptr* arrays, const jpeg_scan_info* script, int scans,
              const JHUFF_TBL* dcTables, const JHUFF_TBL* acTables, const int* dcSlots, const int* acSlots,
              const std::vector<JpegMarker>& markers, const std::vector<std::uint8_t>& icc) {
    out.err = &errors;
    if (setjmp(jump) != 0) {
        jpeg_destroy_compress(&out);
        return false;
    }
    jpeg_create_compress(&out);
    // The arrays belong to the decompressor's memory manager, whose access method reads them.
    out.mem->access_virt_barray = source.mem->access_virt_barray;
    jpeg_stdio_dest(&out, file);
    jpeg_copy_critical_parameters(&source, &out);
    out.restart_interval = source.restart_interval;
    out.scan_info = script;
    out.num_scans = scans;
    if (dcTables != nullptr) {
        out.optimize_coding = FALSE;
        for (int c = 0; c < out.num_components; ++c) {
            out.comp_info[c].dc_tbl_no = dcSlots[c];
            out.comp_info[c].ac_tbl_no = acSlots[c];
            JHUFF_TBL*& dc = out.dc_huff_tbl_ptrs[dcSlots[c]];
            JHUFF_TBL*& ac = out.ac_huff_tbl_ptrs[acSlots[c]];
            if (dc == nullptr) dc = jpeg_alloc_huff_table(reinterpret_cast<j_common_ptr>(&out));
            if (ac == nullptr) ac = jpeg_alloc_huff_table(reinterpret_cast<j_common_ptr>(&out));
            std::memcpy(dc->bits, dcTables[c].bits, sizeof(dc->bits));
            std::memcpy(dc->huffval, dcTables[c].huffval, sizeof(dc->huffval));
            std::memcpy(ac->bits, acTables[c].bits, sizeof(ac->bits));
            std::memcpy(ac->huffval, acTables[c].huffval, sizeof(ac->huffval));
        }
    } else {
        out.optimize_coding = TRUE;
    }
    jpeg_write_coefficients(&out, arrays);
    WriteJpegMarkers(out, markers, icc);
    jpeg_finish_compress(&out);
    jpeg_destroy_compress(&out);
    return true;
}

// Returns null when every coefficient is read, or else why the picture cannot be stamped block by block. Only
// plain values live in this frame: a longjmp back into it would skip a destructor, and the compiler may keep a
// string's inner state in a register that the jump restores stale.
const char* ReadAll(JpegReader& reader, std::FILE* file, jpeg_progress_mgr* progress, jvirt_barray_ptr*& arrays) {
    jpeg_decompress_struct& info = reader.info();
    if (setjmp(reader.jump())) {
        return Refusal(info);
    }
    if (!reader.Start(JpegSource{{}, file})) {
        return "damaged image data";
    }
    if (info.arith_code) {
        return "arithmetic coding";
    }
    if (info.data_precision != 8) {
        return "12-bit samples";
    }
    if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK) {
        return "CMYK colours";
    }
    if (info.jpeg_color_space != JCS_YCbCr || info.num_components != 3) {
        return info.num_components == 1 ? "greyscale, which a coloured mark cannot keep" : "an unusual colour coding";
    }
    for (int c = 0; c < info.num_components; ++c) {
        const jpeg_component_info& component = info.comp_info[c];
        if (info.max_h_samp_factor % component.h_samp_factor != 0 ||
            info.max_v_samp_factor % component.v_samp_factor != 0 ||
            (c == 0 && (component.h_samp_factor != info.max_h_samp_factor ||
                        component.v_samp_factor != info.max_v_samp_factor))) {
            return "an unusual chroma sampling";
        }
    }
    info.progress = progress;
    arrays = jpeg_read_coefficients(&info);
    if (arrays == nullptr || info.err->num_warnings != 0) {
        return "damaged image data";
    }
    return nullptr;
}

}  // namespace

void JpegCoefficients::NoteScan() {
    const jpeg_decompress_struct& info = reader_.info();
    const int number = info.input_scan_number;
    if (number <= 0 || number <= static_cast<int>(scans_.size()) || info.comps_in_scan <= 0) return;
    JpegScan scan;
    scan.count = info.comps_in_scan;
    for (int i = 0; i < scan.count && i < 4; ++i) {
        const jpeg_component_info* component = info.cur_comp_info[i];
        const int index = static_cast<int>(component - info.comp_info);
        scan.components[static_cast<std::size_t>(i)] = index;
        if (index < 0 || index >= MAX_COMPONENTS) continue;
        Tables& tables = tables_[static_cast<std::size_t>(index)];
        const JHUFF_TBL* dc = info.dc_huff_tbl_ptrs[component->dc_tbl_no];
        const JHUFF_TBL* ac = info.ac_huff_tbl_ptrs[component->ac_tbl_no];
        if (dc == nullptr || ac == nullptr) {
            tablesChange_ = true;
            continue;
        }
        if (!tables.seen) {
            tables.seen = true;
            tables.dc = component->dc_tbl_no;
            tables.ac = component->ac_tbl_no;
            tables.dcTable = *dc;
            tables.acTable = *ac;
        } else if (tables.dc != component->dc_tbl_no || tables.ac != component->ac_tbl_no ||
                   !SameTable(tables.dcTable, *dc) || !SameTable(tables.acTable, *ac)) {
            tablesChange_ = true;
        }
    }
    scan.Ss = info.Ss;
    scan.Se = info.Se;
    scan.Ah = info.Ah;
    scan.Al = info.Al;
    scans_.push_back(scan);
}

std::string JpegCoefficients::Read(const std::string& path, PictureMetadata& metadata) {
    auto opened = PictureFile::Open(path);
    if (!opened) return "unreadable";
    file_.emplace(std::move(*opened));
    const DecodeLimits limits;
    if (JudgeHead(file_->Head(), file_->Size(), limits).kind != HeadVerdict::Kind::Stream) return "not a JPEG file";
    hook_.base.progress_monitor = OnProgress;
    hook_.owner = this;
    if (const char* refusal = ReadAll(reader_, file_->Stream(), &hook_.base, arrays_)) return refusal;
    jpeg_decompress_struct& info = reader_.info();
    if (info.image_width > static_cast<JDIMENSION>(render::kMaxImageSide) ||
        info.image_height > static_cast<JDIMENSION>(render::kMaxImageSide) ||
        !FitsLimits(info.image_width, info.image_height, limits)) {
        return "a picture over the size limit";
    }
    if (scans_.empty()) return "damaged image data";
    metadata = ReadJpegMetadata(info);
    return {};
}

JBLOCKARRAY JpegCoefficients::ImcuRow(int component, int imcuRow) {
    jpeg_decompress_struct& info = reader_.info();
    const int rows = info.comp_info[component].v_samp_factor;
    return (*info.mem->access_virt_barray)(reinterpret_cast<j_common_ptr>(&info), arrays_[component],
                                           static_cast<JDIMENSION>(imcuRow * rows), static_cast<JDIMENSION>(rows),
                                           TRUE);
}

bool JpegCoefficients::TablesCodeEverything(const std::vector<BlockPlace>& changed) {
    jpeg_decompress_struct& info = reader_.info();
    if (info.progressive_mode || tablesChange_) return false;
    std::array<std::bitset<256>, MAX_COMPONENTS> dcNeeded{}, acNeeded{};
    for (const BlockPlace& place : changed) {
        const JBLOCKARRAY rows = ImcuRow(place.component, place.row / info.comp_info[place.component].v_samp_factor);
        AddAcSymbols(rows[place.row % info.comp_info[place.component].v_samp_factor][place.column],
                     acNeeded[static_cast<std::size_t>(place.component)]);
    }
    // The DC differences follow the scan order, so every block's is checked: one value a block.
    const unsigned interval = info.restart_interval;
    for (const JpegScan& scan : scans_) {
        int predictor[4] = {0, 0, 0, 0};
        unsigned mcu = 0;
        const auto code = [&](int slot, int component, int row, int column) {
            const jpeg_component_info& c = info.comp_info[component];
            int dc = predictor[slot];
            if (column < static_cast<int>(c.width_in_blocks) && row < static_cast<int>(c.height_in_blocks)) {
                const JBLOCKARRAY rows = ImcuRow(component, row / c.v_samp_factor);
                dc = rows[row % c.v_samp_factor][column][0];
            }
            // A dummy block past the edge repeats the previous DC value.
            dcNeeded[static_cast<std::size_t>(component)].set(static_cast<std::size_t>(Category(dc - predictor[slot])));
            predictor[slot] = dc;
        };
        const auto restart = [&] {
            if (interval != 0 && mcu != 0 && mcu % interval == 0) std::fill(std::begin(predictor), std::end(predictor), 0);
            ++mcu;
        };
        if (scan.count == 1) {
            const int component = scan.components[0];
            const jpeg_component_info& c = info.comp_info[component];
            for (int row = 0; row < static_cast<int>(c.height_in_blocks); ++row) {
                for (int column = 0; column < static_cast<int>(c.width_in_blocks); ++column) {
                    restart();
                    code(0, component, row, column);
                }
            }
            continue;
        }
        const int mcuColumns = static_cast<int>((info.image_width + info.max_h_samp_factor * DCTSIZE - 1) /
                                                (info.max_h_samp_factor * DCTSIZE));
        const int mcuRows = static_cast<int>((info.image_height + info.max_v_samp_factor * DCTSIZE - 1) /
                                             (info.max_v_samp_factor * DCTSIZE));
        for (int my = 0; my < mcuRows; ++my) {
            for (int mx = 0; mx < mcuColumns; ++mx) {
                restart();
                for (int s = 0; s < scan.count; ++s) {
                    const int component = scan.components[static_cast<std::size_t>(s)];
                    const jpeg_component_info& c = info.comp_info[component];
                    for (int v = 0; v < c.v_samp_factor; ++v) {
                        for (int h = 0; h < c.h_samp_factor; ++h) {
                            code(s, component, my * c.v_samp_factor + v, mx * c.h_samp_factor + h);
                        }
                    }
                    // A dummy block codes no AC value.
                    acNeeded[static_cast<std::size_t>(component)].set(0x00);
                }
            }
        }
    }
    for (int c = 0; c < info.num_components; ++c) {
        const Tables& tables = tables_[static_cast<std::size_t>(c)];
        if (!tables.seen) return false;
        const std::bitset<256> dc = Coded(tables.dcTable), ac = Coded(tables.acTable);
        if ((dcNeeded[static_cast<std::size_t>(c)] & ~dc).any()) return false;
        if ((acNeeded[static_cast<std::size_t>(c)] & ~ac).any()) return false;
    }
    return true;
}

bool JpegCoefficients::Write(std::FILE* file, const std::vector<JpegMarker>& markers,
                             const std::vector<std::uint8_t>& icc, const std::vector<BlockPlace>& changed) {
    if (file == nullptr || arrays_ == nullptr) return false;
    jpeg_decompress_struct& source = reader_.info();
    script_.clear();
    for (const JpegScan& scan : scans_) {
        jpeg_scan_info entry{};
        entry.comps_in_scan = scan.count;
        for (int i = 0; i < scan.count; ++i) entry.component_index[i] = scan.components[static_cast<std::size_t>(i)];
        entry.Ss = scan.Ss;
        entry.Se = scan.Se;
        entry.Ah = scan.Ah;
        entry.Al = scan.Al;
        script_.push_back(entry);
    }
    keptTables_ = false;
    JHUFF_TBL dc[MAX_COMPONENTS], ac[MAX_COMPONENTS];
    int dcSlots[MAX_COMPONENTS] = {}, acSlots[MAX_COMPONENTS] = {};
    // An error manager of the compressor's own: the decompressor's jumps back into its reader.
    struct Errors {
        jpeg_error_mgr base;
        std::jmp_buf jump;
    };
    static_assert(offsetof(Errors, base) == 0);
    Errors errors{};
    jpeg_std_error(&errors.base);
    errors.base.error_exit = [](j_common_ptr info) { std::longjmp(reinterpret_cast<Errors*>(info->err)->jump, 1); };
    errors.base.output_message = [](j_common_ptr) {};
    if (TablesCodeEverything(changed)) {
        keptTables_ = true;
        for (int c = 0; c < source.num_components; ++c) {
            dc[c] = tables_[static_cast<std::size_t>(c)].dcTable;
            ac[c] = tables_[static_cast<std::size_t>(c)].acTable;
            dcSlots[c] = tables_[static_cast<std::size_t>(c)].dc;
            acSlots[c] = tables_[static_cast<std::size_t>(c)].ac;
        }
    }
    jpeg_compress_struct out{};
    return Compress(out, errors.base, errors.jump, file, source, arrays_, script_.data(),
                    static_cast<int>(script_.size()), keptTables_ ? dc : nullptr, keptTables_ ? ac : nullptr, dcSlots,
                    acSlots, markers, icc);
}

}  // namespace velinor::imageio
