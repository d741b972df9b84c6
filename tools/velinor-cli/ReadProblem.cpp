#include "tools/velinor-cli/ReadProblem.h"

#include "files/ProgramFiles.h"
#include "imageio/DecodeLimits.h"
#include "marks/LogoRoutes.h"

namespace velinor::tools {

namespace {

using Kind = imageio::LoadFailure::Kind;
using imageio::ReadFailure;

const char* FileProblem(ReadFailure failure) {
    switch (failure) {
        case ReadFailure::Missing: return "no such file";
        case ReadFailure::Folder: return "is a folder";
        case ReadFailure::PermissionDenied: return "permission denied";
        case ReadFailure::NotRegularFile: return "is not a regular file";
        case ReadFailure::TooLarge: return "is larger than any picture Velinor reads";
        case ReadFailure::OutOfMemory: return "could not be read: not enough memory";
        case ReadFailure::None:
        case ReadFailure::ReadError: break;
    }
    return "could not be read";
}

}  // namespace

std::string ReadProblem(const std::string& path, const imageio::LoadFailure& failure, bool logo) {
    switch (failure.kind) {
        case Kind::TooManyPixels:
            return "the picture " + path + " has " + std::to_string(failure.size.width) + " x " +
                   std::to_string(failure.size.height) + " pixels, more than the limit of " +
                   std::to_string(imageio::PixelLimit()) + "; raise it with --max-pixels or " +
                   imageio::kPixelLimitVariable;
        case Kind::File: return path + " " + FileProblem(failure.file);
        case Kind::Empty: return path + " is empty, not a picture Velinor reads";
        case Kind::LogoOnly:
            if (!logo && marks::LogoRouteFor(path).route != marks::LogoRoute::Picture) {
                return path + " is read only as a logo (give --logo)";
            }
            break;
        case Kind::Unsupported: return path + " is " + failure.what + ", which Velinor does not read";
        case Kind::Damaged:
        case Kind::FileTooLarge: return path + " is truncated or damaged";
        case Kind::OutOfMemory: return path + " could not be read: not enough memory";
        case Kind::LibraryMissing:
            return path + " cannot be read: the picture libraries were not found in " + files::ShownLibraryFolder() + " (or are damaged)";
        case Kind::None:
        case Kind::NotAPicture: break;
    }
    return path + " is not a picture Velinor reads";
}

}  // namespace velinor::tools
