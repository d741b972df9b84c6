#include "imageio/ProfileName.h"

#include <lcms2.h>

#include <memory>

namespace velinor::imageio {

std::string ProfileDescription(const std::vector<std::uint8_t>& profile) {
    if (profile.empty()) return {};
    const std::unique_ptr<void, decltype(&cmsCloseProfile)> opened(
        cmsOpenProfileFromMem(profile.data(), static_cast<cmsUInt32Number>(profile.size())), &cmsCloseProfile);
    if (opened == nullptr) return {};
    const cmsUInt32Number length = cmsGetProfileInfoASCII(opened.get(), cmsInfoDescription, "en", "US", nullptr, 0);
    if (length == 0) return {};
    std::string text(length, '\0');
    cmsGetProfileInfoASCII(opened.get(), cmsInfoDescription, "en", "US", text.data(), length);
    while (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

}  // namespace velinor::imageio
