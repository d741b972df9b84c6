#pragma once

#include <string>

#include "imageio/LoadFailure.h"
#include "render/ImageRegistry.h"

namespace velinor::marks {

// How a logo file is decoded, chosen by its extension.
enum class LogoRoute {
    Picture,   // the program's own picture loader
    Library,   // data/image323 (GIF, ICO)
    Pcx,       // data/nviewlib (PCX)
};

struct LogoRouteChoice {
    LogoRoute route = LogoRoute::Picture;
    int keyed = 0;  // 1 when the logo is drawn with a key colour instead of blended
};

// The route for a logo file by the extension part of its name, compared exactly, case included:
// "gif"/"GIF"/"ico"/"ICO" through image323, "pcx"/"PCX" through nviewlib, both keyed; anything
// else ("Gif", "tga", "png", ...) through the picture loader, blended.
LogoRouteChoice LogoRouteFor(const std::string& logoFile);

struct LogoLoad {
    render::ImageHandle handle = nullptr;  // image PicLogo, null when the logo did not decode
    int keyed = 0;                         // 1 for the routes drawn with a key colour
    imageio::LoadFailure failure;          // why there is no handle
};

// Frees PicLogo and decodes logoFile into it by the route its extension selects. A logo that
// does not decode, a missing library, or memory running out all leave PicLogo empty.
LogoLoad LoadLogoPicture(render::ImageRegistry& images, const std::string& logoFile);

// Decodes a GIF or ICO file with data/image323 into number; the pixels come straight from the
// library's bitmap, no file is written. Null when the library, its entry points, the picture or
// memory are missing (number is then empty). failure, when given, says why there is no picture.
render::ImageHandle LoadLibraryPicture(render::ImageRegistry& images, int number, const std::string& path,
                                       imageio::LoadFailure* failure = nullptr);

// Decodes a PCX file with data/nviewlib into number, at the size the library reports. Null
// when the library or one of its entry points is missing (number is then left as it was), or
// the picture or memory are missing (number is then empty). failure, when given, says why there
// is no picture.
render::ImageHandle LoadPcxPicture(render::ImageRegistry& images, int number, const std::string& path,
                                   imageio::LoadFailure* failure = nullptr);

}  // namespace velinor::marks
