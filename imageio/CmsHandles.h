#pragma once

#include <lcms2.h>

#include <memory>
#include <type_traits>

namespace velinor::imageio::cms {

// Owners of Little CMS handles: each frees its handle with the matching call when it goes.
struct ProfileCloser {
    void operator()(void* profile) const noexcept { cmsCloseProfile(profile); }
};
struct TransformDeleter {
    void operator()(void* transform) const noexcept { cmsDeleteTransform(transform); }
};
struct ContextDeleter {
    void operator()(cmsContext context) const noexcept { cmsDeleteContext(context); }
};

using Profile = std::unique_ptr<std::remove_pointer_t<cmsHPROFILE>, ProfileCloser>;
using Transform = std::unique_ptr<std::remove_pointer_t<cmsHTRANSFORM>, TransformDeleter>;
using Context = std::unique_ptr<std::remove_pointer_t<cmsContext>, ContextDeleter>;

}  // namespace velinor::imageio::cms
