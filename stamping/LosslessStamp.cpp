#include "stamping/LosslessStamp.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <new>
#include <vector>

#include "imageio/AtomicFile.h"
#include "imageio/Loader.h"
#include "imageio/MetadataBlocks.h"
#include "render/PixelStore.h"
#include "stamping/StampPicture.h"

namespace velinor::stamping {

namespace {

// No colour has a top byte: a pixel still holding this after drawing was not reached.
constexpr render::Color kUnreached = 0xFF000000u;

// Where a stored pixel shows in the upright picture, and back, for EXIF orientations 1..8 of a
// picture stored width x height.
struct Turn {
    int width, height, orientation;

    void Upright(int x, int y, int& ux, int& uy) const {
        switch (orientation) {
            case 2: ux = width - 1 - x; uy = y; break;
            case 3: ux = width - 1 - x; uy = height - 1 - y; break;
            case 4: ux = x; uy = height - 1 - y; break;
            case 5: ux = y; uy = x; break;
            case 6: ux = height - 1 - y; uy = x; break;
            case 7: ux = height - 1 - y; uy = width - 1 - x; break;
            case 8: ux = y; uy = width - 1 - x; break;
            default: ux = x; uy = y; break;
        }
    }
    // The inverse turn: 6 and 8 undo each other, every other orientation undoes itself, on the
    // upright picture's size.
    void Stored(int ux, int uy, int& x, int& y) const {
        const bool swapped = orientation >= 5;
        const int inverse = orientation == 6 ? 8 : orientation == 8 ? 6 : orientation;
        Turn{swapped ? height : width, swapped ? width : height, inverse}.Upright(ux, uy, x, y);
    }
};

// The orthonormal 8-point DCT basis JPEG uses: kBasis[x][u] = C(u)/2 cos((2x+1)u pi/16).
struct Basis {
    double at[DCTSIZE][DCTSIZE];
    Basis() {
        for (int x = 0; x < DCTSIZE; ++x) {
            for (int u = 0; u < DCTSIZE; ++u) {
                const double c = u == 0 ? std::sqrt(0.5) : 1.0;
                at[x][u] = c / 2 * std::cos((2 * x + 1) * u * M_PI / 16);
            }
        }
    }
};
const Basis kBasis;

// The separable 2-D DCT of a block, from samples to coefficients or (inverse) back.
void Transform(const double* in, double* out, bool inverse) {
    const auto basis = [inverse](int i, int k) { return inverse ? kBasis.at[k][i] : kBasis.at[i][k]; };
    double tmp[DCTSIZE2];
    for (int r = 0; r < DCTSIZE; ++r) {
        for (int k = 0; k < DCTSIZE; ++k) {
            double sum = 0;
            for (int i = 0; i < DCTSIZE; ++i) sum += basis(i, k) * in[r * DCTSIZE + i];
            tmp[r * DCTSIZE + k] = sum;
        }
    }
    for (int k = 0; k < DCTSIZE; ++k) {
        for (int c = 0; c < DCTSIZE; ++c) {
            double sum = 0;
            for (int r = 0; r < DCTSIZE; ++r) sum += basis(r, k) * tmp[r * DCTSIZE + c];
            out[k * DCTSIZE + c] = sum;
        }
    }
}

// Samples of one block from its quantised coefficients, level-shifted and clamped to 0..255.
void InverseTransform(const JCOEF* block, const UINT16* quant, std::uint8_t* out, int stride) {
    double f[DCTSIZE2], samples[DCTSIZE2];
    for (int k = 0; k < DCTSIZE2; ++k) f[k] = static_cast<double>(block[k]) * quant[k];
    Transform(f, samples, true);
    for (int y = 0; y < DCTSIZE; ++y) {
        for (int x = 0; x < DCTSIZE; ++x) {
            out[y * stride + x] =
                static_cast<std::uint8_t>(std::clamp(std::lround(samples[y * DCTSIZE + x] + 128), 0L, 255L));
        }
    }
}

// Adds the change of a block's samples, transformed and quantised with its table, to its
// coefficients (rounded half away from zero, as the library quantises).
void AddChange(JCOEF* block, const UINT16* quant, const float* change, int stride) {
    double samples[DCTSIZE2], f[DCTSIZE2];
    for (int y = 0; y < DCTSIZE; ++y) {
        for (int x = 0; x < DCTSIZE; ++x) samples[y * DCTSIZE + x] = change[y * stride + x];
    }
    Transform(samples, f, false);
    for (int k = 0; k < DCTSIZE2; ++k) {
        const long value = block[k] + std::lround(f[k] / quant[k]);
        block[k] = static_cast<JCOEF>(std::clamp(value, -1023L, 1023L));
    }
}

std::uint8_t Clamp(double value) { return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L)); }

// Decoded YCbCr to a colour, as the library converts.
render::Color ToColour(int y, int cb, int cr) {
    const double b = cb - 128.0, r = cr - 128.0;
    return render::MakeColor(Clamp(y + 1.402 * r), Clamp(y - 0.344136 * b - 0.714136 * r), Clamp(y + 1.772 * b));
}

// A run of marked iMCUs on one iMCU row, and the colours its pixels had before drawing.
struct Run {
    int row = 0, first = 0, end = 0;
    int x0 = 0, y0 = 0, width = 0, height = 0;   // its stored pixels inside the picture
    std::vector<render::Color> before;
};

// Adds to the blocks of a run the change its pixels got from before(x, y) to after(x, y) (x, y
// inside the run, as stored): each component's change is the mean change of the pixels a sample
// covers, transformed and quantised with the component's table. Notes the blocks whose
// coefficients changed; returns how many.
template <class Before, class After>
int AddChanges(imageio::JpegCoefficients& coefficients, const Run& run, const Before& before, const After& after,
               std::vector<imageio::BlockPlace>& changed) {
    const jpeg_decompress_struct& info = coefficients.Info();
    const int count = info.num_components;
    std::vector<float> sums[MAX_COMPONENTS];
    std::vector<std::uint16_t> counts[MAX_COMPONENTS];
    int strides[MAX_COMPONENTS], rx[MAX_COMPONENTS], ry[MAX_COMPONENTS];
    for (int c = 0; c < count; ++c) {
        const jpeg_component_info& component = info.comp_info[c];
        strides[c] = (run.end - run.first) * component.h_samp_factor * DCTSIZE;
        rx[c] = info.max_h_samp_factor / component.h_samp_factor;
        ry[c] = info.max_v_samp_factor / component.v_samp_factor;
        const std::size_t size = static_cast<std::size_t>(strides[c]) * component.v_samp_factor * DCTSIZE;
        sums[c].assign(size, 0.0f);
        counts[c].assign(size, 0);
    }
    bool any = false;
    for (int ly = 0; ly < run.height; ++ly) {
        for (int lx = 0; lx < run.width; ++lx) {
            const render::Color now = after(lx, ly), was = before(lx, ly);
            float change[3] = {0, 0, 0};
            if (now != was) {
                any = true;
                const float dr = static_cast<float>(render::RedOf(now) - render::RedOf(was));
                const float dg = static_cast<float>(render::GreenOf(now) - render::GreenOf(was));
                const float db = static_cast<float>(render::BlueOf(now) - render::BlueOf(was));
                change[0] = 0.299f * dr + 0.587f * dg + 0.114f * db;
                change[1] = -0.168736f * dr - 0.331264f * dg + 0.5f * db;
                change[2] = 0.5f * dr - 0.418688f * dg - 0.081312f * db;
            }
            for (int c = 0; c < count; ++c) {
                const std::size_t at = static_cast<std::size_t>(ly / ry[c]) * strides[c] + lx / rx[c];
                sums[c][at] += change[c];
                ++counts[c][at];
            }
        }
    }
    if (!any) return 0;
    int moved = 0;
    for (int c = 0; c < count; ++c) {
        const jpeg_component_info& component = info.comp_info[c];
        for (std::size_t i = 0; i < sums[c].size(); ++i) {
            if (counts[c][i] != 0) sums[c][i] /= counts[c][i];
        }
        const JBLOCKARRAY blocks = coefficients.ImcuRow(c, run.row);
        for (int by = 0; by < component.v_samp_factor; ++by) {
            const int blockRow = run.row * component.v_samp_factor + by;
            if (blockRow >= static_cast<int>(component.height_in_blocks)) continue;
            for (int bx = 0; bx < (run.end - run.first) * component.h_samp_factor; ++bx) {
                const int blockColumn = run.first * component.h_samp_factor + bx;
                if (blockColumn >= static_cast<int>(component.width_in_blocks)) continue;
                const float* change = sums[c].data() + static_cast<std::size_t>(by) * DCTSIZE * strides[c] + bx * DCTSIZE;
                bool differs = false;
                for (int y = 0; y < DCTSIZE && !differs; ++y) {
                    for (int x = 0; x < DCTSIZE && !differs; ++x) differs = change[y * strides[c] + x] != 0.0f;
                }
                if (!differs) continue;
                JCOEF* block = blocks[by][blockColumn];
                JCOEF was[DCTSIZE2];
                std::copy(block, block + DCTSIZE2, was);
                AddChange(block, component.quant_table->quantval, change, strides[c]);
                if (!std::equal(block, block + DCTSIZE2, was)) {
                    changed.push_back({c, blockRow, blockColumn});
                    ++moved;
                }
            }
        }
    }
    return moved;
}

// The runs of marked iMCUs, row by row.
std::vector<Run> RunsOf(const std::vector<std::uint8_t>& marked, int columns, int rows, int mcuWidth, int mcuHeight,
                        int width, int height) {
    std::vector<Run> runs;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns;) {
            if (marked[static_cast<std::size_t>(row) * columns + column] == 0) {
                ++column;
                continue;
            }
            Run run;
            run.row = row;
            run.first = column;
            while (column < columns && marked[static_cast<std::size_t>(row) * columns + column] != 0) ++column;
            run.end = column;
            run.x0 = run.first * mcuWidth;
            run.y0 = row * mcuHeight;
            run.width = std::min(run.end * mcuWidth, width) - run.x0;
            run.height = std::min((row + 1) * mcuHeight, height) - run.y0;
            runs.push_back(std::move(run));
        }
    }
    return runs;
}

}  // namespace

namespace {

// The result of source written keeping its quality, its temporary file not yet finished.
std::unique_ptr<imageio::AtomicFile> WriteKeepingQualityUnfinished(const std::string& source,
                                                                   const render::RasterImage& result,
                                                                   const imageio::MetadataChoices& choices,
                                                                   const std::string& output,
                                                                   imageio::AtomicFile::Links links,
                                                                   std::string& notice) {
    LosslessJpeg lossless;
    imageio::PictureMetadata metadata;
    if (lossless.Open(source, metadata, notice) != LosslessJpeg::Opened::Ready) return nullptr;
    imageio::PictureMetadata ignored;
    const imageio::LoadResult original = imageio::DecodePictureFile(source, nullptr, &ignored);
    if (!original.image) return nullptr;
    return lossless.ChangesWritten(*original.image, result, choices, metadata, output, links);
}

}  // namespace

bool WriteKeepingQuality(const std::string& source, const render::RasterImage& result,
                         const imageio::MetadataChoices& choices, const std::string& output,
                         const imageio::OutputGuard* guard, std::string& notice) {
    const std::unique_ptr<imageio::AtomicFile> file = WriteKeepingQualityUnfinished(
        source, result, choices, output,
        guard != nullptr ? imageio::AtomicFile::Links::Refuse : imageio::AtomicFile::Links::Follow, notice);
    return file && file->Commit(guard);
}

std::unique_ptr<imageio::AtomicFile> WriteKeepingQualityAside(const std::string& source,
                                                              const render::RasterImage& result,
                                                              const imageio::MetadataChoices& choices,
                                                              const std::string& output, std::string& notice) {
    return imageio::FinishedAside(
        WriteKeepingQualityUnfinished(source, result, choices, output, imageio::AtomicFile::Links::Refuse, notice));
}

std::string LosslessNotice(const std::string& why) {
    return "stamped by encoding it again, not block by block: " + why;
}

LosslessJpeg::Opened LosslessJpeg::Open(const std::string& source, imageio::PictureMetadata& metadata,
                                        std::string& notice) {
    const std::string refusal = coefficients_.Read(source, metadata);
    if (refusal == "not a JPEG file" || refusal == "unreadable") return Opened::NotJpeg;
    if (!refusal.empty()) {
        notice = LosslessNotice(refusal);
        return Opened::Refused;
    }
    const jpeg_decompress_struct& info = coefficients_.Info();
    storedWidth_ = static_cast<int>(info.image_width);
    storedHeight_ = static_cast<int>(info.image_height);
    orientation_ = metadata.orientation >= 1 && metadata.orientation <= 8 ? metadata.orientation : 1;
    return Opened::Ready;
}

bool LosslessJpeg::Stamp(const StampSettings& settings, const StampResources& resources, MarkDrawer& drawer,
                         const PictureFacts& facts, const imageio::PictureMetadata& metadata, const std::string& path) {
    const jpeg_decompress_struct& info = coefficients_.Info();
    const Turn turn{storedWidth_, storedHeight_, orientation_};
    const int mcuWidth = info.max_h_samp_factor * DCTSIZE, mcuHeight = info.max_v_samp_factor * DCTSIZE;
    const int columns = (storedWidth_ + mcuWidth - 1) / mcuWidth, rows = (storedHeight_ + mcuHeight - 1) / mcuHeight;
    imcusDecoded_ = blocksChanged_ = 0;
    reachedMore_ = false;
    std::vector<imageio::BlockPlace> changed;
    try {
        render::RasterImage canvas;
        canvas.width = Width();
        canvas.height = Height();
        canvas.pixels = render::MakePixels(static_cast<std::size_t>(canvas.width) * canvas.height, kUnreached);

        // Where the marks draw: the same random numbers are drawn again for the picture itself.
        drawer.Random().RandomUpTo(0);
        const render::RandomSource random = drawer.Random();
        DrawStamp(canvas, settings, resources, drawer, facts);
        drawer.Random() = random;
        std::vector<std::uint8_t> marked(static_cast<std::size_t>(columns) * rows, 0);
        for (int uy = 0; uy < canvas.height; ++uy) {
            const render::Color* line = canvas.pixels.data() + static_cast<std::size_t>(uy) * canvas.width;
            for (int start = 0; start < canvas.width; start += 16) {
                const int stop = std::min(start + 16, canvas.width);
                render::Color any = 0;
                for (int ux = start; ux < stop; ++ux) any |= line[ux] ^ kUnreached;
                if (any == 0) continue;
                for (int ux = start; ux < stop; ++ux) {
                    if (line[ux] == kUnreached) continue;
                    int x = 0, y = 0;
                    turn.Stored(ux, uy, x, y);
                    marked[static_cast<std::size_t>(y / mcuHeight) * columns + x / mcuWidth] = 1;
                }
            }
        }

        std::vector<Run> runs = RunsOf(marked, columns, rows, mcuWidth, mcuHeight, storedWidth_, storedHeight_);
        for (const Run& run : runs) imcusDecoded_ += run.end - run.first;

        // The samples of every component over a run, decoded from its blocks.
        const int count = info.num_components;
        std::vector<std::uint8_t> samples[MAX_COMPONENTS];
        const auto decode = [&](const Run& run, int c) {
            const jpeg_component_info& component = info.comp_info[c];
            const int stride = (run.end - run.first) * component.h_samp_factor * DCTSIZE;
            samples[c].resize(static_cast<std::size_t>(stride) * component.v_samp_factor * DCTSIZE);
            const JBLOCKARRAY blocks = coefficients_.ImcuRow(c, run.row);
            for (int by = 0; by < component.v_samp_factor; ++by) {
                for (int bx = 0; bx < (run.end - run.first) * component.h_samp_factor; ++bx) {
                    InverseTransform(blocks[by][run.first * component.h_samp_factor + bx],
                                     component.quant_table->quantval,
                                     samples[c].data() + static_cast<std::size_t>(by) * DCTSIZE * stride + bx * DCTSIZE,
                                     stride);
                }
            }
            return stride;
        };
        for (Run& run : runs) {
            int strides[MAX_COMPONENTS];
            for (int c = 0; c < count; ++c) strides[c] = decode(run, c);
            run.before.resize(static_cast<std::size_t>(run.width) * run.height);
            const int rx1 = info.max_h_samp_factor / info.comp_info[1].h_samp_factor;
            const int ry1 = info.max_v_samp_factor / info.comp_info[1].v_samp_factor;
            const int rx2 = info.max_h_samp_factor / info.comp_info[2].h_samp_factor;
            const int ry2 = info.max_v_samp_factor / info.comp_info[2].v_samp_factor;
            for (int ly = 0; ly < run.height; ++ly) {
                for (int lx = 0; lx < run.width; ++lx) {
                    const render::Color colour =
                        ToColour(samples[0][static_cast<std::size_t>(ly) * strides[0] + lx],
                                 samples[1][static_cast<std::size_t>(ly / ry1) * strides[1] + lx / rx1],
                                 samples[2][static_cast<std::size_t>(ly / ry2) * strides[2] + lx / rx2]);
                    run.before[static_cast<std::size_t>(ly) * run.width + lx] = colour;
                    int ux = 0, uy = 0;
                    turn.Upright(run.x0 + lx, run.y0 + ly, ux, uy);
                    canvas.At(ux, uy) = colour;
                }
            }
        }

        const render::RandomSource drawnFrom = drawer.Random();
        DrawStamp(canvas, settings, resources, drawer, facts);
        // Drawing over the picture must reach no pixel that drawing over nothing did not: such a
        // pixel lies in a block that was not decoded, and the picture would miss it.
        for (int uy = 0; uy < canvas.height && !reachedMore_; ++uy) {
            const render::Color* line = canvas.pixels.data() + static_cast<std::size_t>(uy) * canvas.width;
            for (int ux = 0; ux < canvas.width && !reachedMore_; ++ux) {
                if (ux % 16 == 0 && ux + 16 <= canvas.width) {
                    render::Color any = 0;
                    for (int i = ux; i < ux + 16; ++i) any |= line[i] ^ kUnreached;
                    if (any == 0) {
                        ux += 15;
                        continue;
                    }
                }
                if (line[ux] == kUnreached) continue;
                int x = 0, y = 0;
                turn.Stored(ux, uy, x, y);
                reachedMore_ = marked[static_cast<std::size_t>(y / mcuHeight) * columns + x / mcuWidth] == 0;
            }
        }
        if (reachedMore_) {
            drawer.Random() = drawnFrom;
            return false;
        }

        for (const Run& run : runs) {
            const auto before = [&](int lx, int ly) { return run.before[static_cast<std::size_t>(ly) * run.width + lx]; };
            const auto after = [&](int lx, int ly) {
                int ux = 0, uy = 0;
                turn.Upright(run.x0 + lx, run.y0 + ly, ux, uy);
                return canvas.At(ux, uy);
            };
            blocksChanged_ += AddChanges(coefficients_, run, before, after, changed);
        }
    } catch (const std::bad_alloc&) {
        return false;
    }

    const std::unique_ptr<imageio::AtomicFile> file =
        WriteOut(settings.metadata, metadata, path, changed, imageio::AtomicFile::Links::Follow);
    return file && file->Commit();
}

std::unique_ptr<imageio::AtomicFile> LosslessJpeg::WriteOut(imageio::MetadataChoices choices,
                                                            const imageio::PictureMetadata& metadata,
                                                            const std::string& path,
                                                            const std::vector<imageio::BlockPlace>& changed,
                                                            imageio::AtomicFile::Links links) {
    choices.keepOrientation = true;
    const imageio::PictureMetadata written = imageio::PrepareMetadata(metadata, choices, storedWidth_, storedHeight_);
    const std::vector<imageio::JpegMarker> markers = imageio::MetadataMarkers(written);
    auto file = std::make_unique<imageio::AtomicFile>(path, links);
    if (!file->IsOpen()) return nullptr;
    if (!coefficients_.Write(file->Stream(), markers, written.icc, changed)) return nullptr;
    return file;
}

std::unique_ptr<imageio::AtomicFile> LosslessJpeg::ChangesWritten(const render::RasterImage& original,
                                                                  const render::RasterImage& result,
                                                                  const imageio::MetadataChoices& choices,
                                                                  const imageio::PictureMetadata& metadata,
                                                                  const std::string& path,
                                                                  imageio::AtomicFile::Links links) {
    std::vector<imageio::BlockPlace> changed;
    if (!FindChanges(original, result, changed)) return nullptr;
    return WriteOut(choices, metadata, path, changed, links);
}

bool LosslessJpeg::WriteChanges(const render::RasterImage& original, const render::RasterImage& result,
                                const imageio::MetadataChoices& choices, const imageio::PictureMetadata& metadata,
                                const std::string& path, const imageio::OutputGuard* guard) {
    const std::unique_ptr<imageio::AtomicFile> file =
        ChangesWritten(original, result, choices, metadata, path,
                       guard != nullptr ? imageio::AtomicFile::Links::Refuse : imageio::AtomicFile::Links::Follow);
    return file && file->Commit(guard);
}

bool LosslessJpeg::FindChanges(const render::RasterImage& original, const render::RasterImage& result,
                               std::vector<imageio::BlockPlace>& changed) {
    if (original.width != Width() || original.height != Height() || result.width != Width() ||
        result.height != Height() || original.pixels.size() != result.pixels.size()) {
        return false;
    }
    const jpeg_decompress_struct& info = coefficients_.Info();
    const Turn turn{storedWidth_, storedHeight_, orientation_};
    const int mcuWidth = info.max_h_samp_factor * DCTSIZE, mcuHeight = info.max_v_samp_factor * DCTSIZE;
    const int columns = (storedWidth_ + mcuWidth - 1) / mcuWidth, rows = (storedHeight_ + mcuHeight - 1) / mcuHeight;
    imcusDecoded_ = blocksChanged_ = 0;
    try {
        std::vector<std::uint8_t> marked(static_cast<std::size_t>(columns) * rows, 0);
        for (int uy = 0; uy < result.height; ++uy) {
            for (int ux = 0; ux < result.width; ++ux) {
                if (original.At(ux, uy) == result.At(ux, uy)) continue;
                int x = 0, y = 0;
                turn.Stored(ux, uy, x, y);
                marked[static_cast<std::size_t>(y / mcuHeight) * columns + x / mcuWidth] = 1;
            }
        }
        for (const Run& run : RunsOf(marked, columns, rows, mcuWidth, mcuHeight, storedWidth_, storedHeight_)) {
            const auto at = [&](const render::RasterImage& picture, int lx, int ly) {
                int ux = 0, uy = 0;
                turn.Upright(run.x0 + lx, run.y0 + ly, ux, uy);
                return picture.At(ux, uy);
            };
            blocksChanged_ += AddChanges(
                coefficients_, run, [&](int lx, int ly) { return at(original, lx, ly); },
                [&](int lx, int ly) { return at(result, lx, ly); }, changed);
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace velinor::stamping
