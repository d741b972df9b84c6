#pragma once

#include <string>

#include "imageio/FileNames.h"
#include "render/ImageRegistry.h"

namespace velinor::imageio {

// The temporary BMP the GIF/ICO route writes in the current folder and reads back.
inline constexpr const char* kTemporaryPicture = "~~temp";

struct LogoLoad {
    render::ImageHandle handle = nullptr;  // image PicLogo, null when the logo did not decode
    int keyed = 0;                         // 1 for the routes drawn with a key colour
};

// Frees PicLogo and decodes logoFile into it by the route its extension selects:
// "gif"/"GIF"/"ico"/"ICO" through data/image323 and the temporary picture, "pcx"/"PCX" through
// data/nviewlib, anything else with LoadPicture. keyed is 1 for the GIF, ICO and PCX routes.
LogoLoad LoadLogoPicture(render::ImageRegistry& images, const std::string& logoFile);

// Decodes a PCX file with data/nviewlib into image number. Null when the library or one of its
// entry points is missing (number is then left as it was) or the picture does not decode
// (number is then empty).
render::ImageHandle LoadPcxPicture(render::ImageRegistry& images, int number, const std::string& path);

// Decodes a GIF or ICO file with data/image323, writes it as the BMP "~~temp" and loads that
// into number. The temporary file is removed afterwards unless keepTemporary is set (the
// colour picker keeps it for the logo load that follows). Null when anything fails; a stale
// "~~temp" from an earlier run is never loaded in place of the picture.
render::ImageHandle LoadThroughTemporaryFile(render::ImageRegistry& images, int number, const std::string& path,
                                             bool keepTemporary = false);

}  // namespace velinor::imageio
