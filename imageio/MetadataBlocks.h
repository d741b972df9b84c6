#pragma once

#include <map>
#include <string>

#include "imageio/PictureMetadata.h"

// The metadata blocks read, checked and made true to a written picture. Every parse and edit of
// EXIF, XMP and IPTC goes through here (Exiv2), and so does every failure of one: a block the
// library cannot read, or that is damaged or hostile, is left out with one warning line, and the
// picture goes on without it.
namespace velinor::imageio {

// "the EXIF metadata is damaged and was left out", for block "EXIF" and why "damaged".
std::string BlockWarning(const char* block, const char* why);

// Checks the blocks read from a file, leaving out (with a warning) each that does not parse: EXIF
// (and takes its orientation), Photoshop resources and their IPTC record, the ICC profile (Little
// CMS must read the colours it describes). What parsed is kept in metadata.parsed. xmp is the main packet as read; extensions are complete extended packets by GUID, of
// which the one the main packet names is merged into it.
void VetMetadata(PictureMetadata& metadata, const std::string& xmp,
                 const std::map<std::string, std::string>& extensions = {});

// The metadata to write with a picture of width x height made from one that carried source: the
// EXIF and XMP orientation upright (1) unless the choices keep it, the pixel dimensions those of the written picture, the
// thumbnail and previews gone, Software naming the program, the modification date now, the
// choices applied; every other value as it was.
PictureMetadata PrepareMetadata(const PictureMetadata& source, const MetadataChoices& choices, int width,
                                int height);

// A packet too large for one JPEG marker, as a main packet that names the extension by the MD5
// GUID of the extension, which holds all of the packet's properties. Empty main when the packet
// does not parse.
struct ExtendedXmp {
    std::string main;
    std::string guid;
    std::string extension;
};
ExtendedXmp SplitXmp(const std::string& packet);

// The main fields a person asks about, empty where the picture does not say.
struct MetadataSummary {
    std::string make, model, lens, dateTaken;
    bool gps = false;
};
MetadataSummary SummariseMetadata(const PictureMetadata& metadata);

// The value of an EXIF tag named as a person writes it ("Artist", "Model", "DateTimeOriginal"):
// the first of the image, photo and GPS directories that holds it, else the XMP property of that
// name (tiff:, exif:, dc:). Empty when the picture does not say, or its blocks do not read.
std::string ExifField(const PictureMetadata& metadata, const std::string& tag);

}  // namespace velinor::imageio
