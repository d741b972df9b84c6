#pragma once

#include <memory>
#include <string>
#include <vector>

#include "imageio/AtomicFile.h"
#include "imageio/JpegCoefficients.h"
#include "imageio/OutputGuard.h"
#include "imageio/PictureMetadata.h"
#include "render/RasterImage.h"
#include "stamping/StampMarks.h"
#include "stamping/StampResources.h"
#include "stamping/StampSettings.h"
#include "stamping/TextVariables.h"

// A JPEG stamped into a JPEG without encoding it again: only the blocks whose pixels the marks
// change get new coefficients, every other block is written back bit for bit, with the file's
// own quantisation tables, sampling, scans and restart interval.
//
// The marks are drawn once on a picture of the upright size whose pixels all hold a value no
// colour has: the pixels they reach are the ones that no longer hold it. Only the iMCUs (the
// blocks of all components that cover the same pixels) holding such pixels are decoded, put in
// place (turned upright as the file's orientation says) and drawn on again exactly as the
// picture would be. The change each pixel got is then transformed and quantised with the
// file's tables and added to the block's coefficients, so a block whose pixels did not change
// keeps its coefficients exactly.
namespace velinor::stamping {

class LosslessJpeg {
public:
    enum class Opened {
        NotJpeg,   // not a JPEG file: nothing to say, it goes the ordinary way
        Refused,   // a JPEG that cannot be rewritten block by block; the notice says why
        Ready,
    };

    // Reads source's coefficients and its metadata.
    Opened Open(const std::string& source, imageio::PictureMetadata& metadata, std::string& notice);

    // The upright size of the picture (what a viewer shows).
    int Width() const { return orientation_ >= 5 ? storedHeight_ : storedWidth_; }
    int Height() const { return orientation_ >= 5 ? storedWidth_ : storedHeight_; }

    // Draws the marks of settings as DrawStamp does and writes the result to path with metadata
    // made for it (orientation kept). False when it could not be written, or when the marks
    // reached pixels over the picture that they did not reach over nothing (ReachedMore): the
    // picture is then to be stamped the ordinary way, with the random numbers as they were.
    bool Stamp(const StampSettings& settings, const StampResources& resources, MarkDrawer& drawer,
               const PictureFacts& facts, const imageio::PictureMetadata& metadata, const std::string& path);

    // Writes result, the upright picture as it came from the source with what was drawn on it,
    // when original is the source as decoded (both of the source's upright size): the blocks
    // covering the pixels in which they differ get the difference. Through guard when given
    // (see AtomicFile::Links::Refuse). False when the sizes differ or it could not be written.
    bool WriteChanges(const render::RasterImage& original, const render::RasterImage& result,
                      const imageio::MetadataChoices& choices, const imageio::PictureMetadata& metadata,
                      const std::string& path, const imageio::OutputGuard* guard = nullptr);

    // The file WriteChanges writes, under a temporary name beside path and not yet finished
    // (see imageio::AtomicFile), for the caller to put in place; null when it could not be written.
    std::unique_ptr<imageio::AtomicFile> ChangesWritten(const render::RasterImage& original,
                                                        const render::RasterImage& result,
                                                        const imageio::MetadataChoices& choices,
                                                        const imageio::PictureMetadata& metadata,
                                                        const std::string& path, imageio::AtomicFile::Links links);

    // What the last Stamp or WriteChanges did.
    int ImcusDecoded() const { return imcusDecoded_; }
    int BlocksChanged() const { return blocksChanged_; }
    bool ReachedMore() const { return reachedMore_; }
    bool KeptHuffmanTables() const { return coefficients_.KeptHuffmanTables(); }

private:
    // The block changes of result over original; false when the sizes differ or memory ran out.
    bool FindChanges(const render::RasterImage& original, const render::RasterImage& result,
                     std::vector<imageio::BlockPlace>& changed);
    // The file written with changed, its temporary file not yet finished; null when it failed.
    std::unique_ptr<imageio::AtomicFile> WriteOut(imageio::MetadataChoices choices,
                                                  const imageio::PictureMetadata& metadata, const std::string& path,
                                                  const std::vector<imageio::BlockPlace>& changed,
                                                  imageio::AtomicFile::Links links);

    imageio::JpegCoefficients coefficients_;
    int storedWidth_ = 0, storedHeight_ = 0, orientation_ = 1;
    int imcusDecoded_ = 0, blocksChanged_ = 0;
    bool reachedMore_ = false;
};

// Writes result, what the JPEG file source became with marks drawn on it (upright, of its
// size), to output keeping the file's own quality: only the blocks that changed are coded
// again. False when that cannot be done (not a JPEG, a kind the block coder refuses, which
// notice then names, a result of another size) or the file could not be written: the caller
// then writes the picture the ordinary way.
bool WriteKeepingQuality(const std::string& source, const render::RasterImage& result,
                         const imageio::MetadataChoices& choices, const std::string& output,
                         const imageio::OutputGuard* guard, std::string& notice);

// The same, into a temporary file beside output left finished for the caller to put in place
// (see imageio::WritePictureAside); null when it cannot be done.
std::unique_ptr<imageio::AtomicFile> WriteKeepingQualityAside(const std::string& source,
                                                              const render::RasterImage& result,
                                                              const imageio::MetadataChoices& choices,
                                                              const std::string& output, std::string& notice);

// The notice a file that is stamped the ordinary way instead gets.
std::string LosslessNotice(const std::string& why);

}  // namespace velinor::stamping
