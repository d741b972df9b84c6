#include "imageio/DisplayColour.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "imageio/CmsHandles.h"
#include "render/Utf8.h"

namespace velinor::imageio {

namespace {

using render::Color;

// An ICC header and the tag count after it: the least a profile can be.
constexpr std::size_t kHeaderBytes = 132;

// A Color is 0x00BBGGRR, so in memory a pixel is red, green, blue and then the top byte on a
// little-endian machine, the reverse on a big-endian one; the top byte rides along untouched.
constexpr cmsUInt32Number kPixelFormat = std::endian::native == std::endian::little ? TYPE_RGBA_8 : TYPE_ABGR_8;

// A conversion that moves no probe colour by more than this many levels is taken for none: an
// sRGB profile written by another maker differs from the built-in one only by rounding.
constexpr int kIdentityTolerance = 1;
constexpr int kProbeStep = 17;  // 0, 17, ..., 255: sixteen levels a channel

// cmsDoTransform counts pixels in 32 bits.
constexpr std::size_t kPixelsPerCall = std::size_t{1} << 24;

using SharedTransform = std::shared_ptr<std::remove_pointer_t<cmsHTRANSFORM>>;

// The size the profile declares for itself, when the bytes hold that much.
std::optional<cmsUInt32Number> DeclaredSize(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kHeaderBytes) return std::nullopt;
    const std::uint32_t size = (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
                               (std::uint32_t{bytes[2]} << 8) | std::uint32_t{bytes[3]};
    if (size < kHeaderBytes || size > bytes.size()) return std::nullopt;
    return size;
}

cms::Profile OpenProfile(cmsContext context, std::span<const std::uint8_t> bytes) {
    const std::optional<cmsUInt32Number> size = DeclaredSize(bytes);
    if (!size) return nullptr;
    return cms::Profile(cmsOpenProfileFromMemTHR(context, bytes.data(), *size));
}

// The classes of profile a picture's colours are described by (not device links, abstract or
// named-colour profiles).
bool DescribesPictures(cmsHPROFILE profile) {
    switch (cmsGetDeviceClass(profile)) {
        case cmsSigInputClass:
        case cmsSigDisplayClass:
        case cmsSigOutputClass:
        case cmsSigColorSpaceClass:
            return true;
        default:
            return false;
    }
}

cmsUInt32Number IntentFor(cmsHPROFILE profile) {
    return cmsIsIntentSupported(profile, INTENT_PERCEPTUAL, LCMS_USED_AS_INPUT) ? INTENT_PERCEPTUAL
                                                                                : INTENT_RELATIVE_COLORIMETRIC;
}

bool Near(int a, int b) { return std::abs(a - b) <= kIdentityTolerance; }

// True when transform keeps every colour of a grid through the RGB cube and every grey.
bool KeepsColours(cmsHTRANSFORM transform) {
    std::vector<Color> probe;
    for (int red = 0; red <= 255; red += kProbeStep) {
        for (int green = 0; green <= 255; green += kProbeStep) {
            for (int blue = 0; blue <= 255; blue += kProbeStep) probe.push_back(render::MakeColor(red, green, blue));
        }
    }
    for (int level = 0; level <= 255; ++level) probe.push_back(render::MakeColor(level, level, level));
    std::vector<Color> converted(probe.size());
    cmsDoTransform(transform, probe.data(), converted.data(), static_cast<cmsUInt32Number>(probe.size()));
    return std::equal(probe.begin(), probe.end(), converted.begin(), [](Color a, Color b) {
        return Near(render::RedOf(a), render::RedOf(b)) && Near(render::GreenOf(a), render::GreenOf(b)) &&
               Near(render::BlueOf(a), render::BlueOf(b));
    });
}

// The conversion of an RGB profile's colours to sRGB; null when pictures with the profile are
// shown as they are.
SharedTransform BuildConversion(cmsContext context, std::span<const std::uint8_t> bytes) {
    const cms::Profile source = OpenProfile(context, bytes);
    if (!source || cmsGetColorSpace(source.get()) != cmsSigRgbData || !DescribesPictures(source.get())) return nullptr;
    const cms::Profile srgb(cmsCreate_sRGBProfileTHR(context));
    if (!srgb) return nullptr;
    cms::Transform transform(cmsCreateTransformTHR(context, source.get(), kPixelFormat, srgb.get(), kPixelFormat,
                                                   IntentFor(source.get()), cmsFLAGS_COPY_ALPHA | cmsFLAGS_NOCACHE));
    if (!transform || KeepsColours(transform.get())) return nullptr;
    return SharedTransform(std::move(transform));
}

// The Little CMS context of this module and the conversion built for the last profile seen. A
// transform is shared, not locked, while pixels go through it: Little CMS lets several threads
// run one transform at once, and the last holder frees it.
class DisplayColours {
public:
    static DisplayColours& Instance() {
        static DisplayColours colours;
        return colours;
    }

    cmsContext Context() const { return context_.get(); }

    SharedTransform ConversionFor(std::span<const std::uint8_t> bytes) {
        {
            const std::lock_guard lock(mutex_);
            if (known_ && std::equal(bytes.begin(), bytes.end(), lastBytes_.begin(), lastBytes_.end())) {
                return lastConversion_;
            }
        }
        // Built unlocked, so that other threads keep converting with the kept one meanwhile.
        SharedTransform built = BuildConversion(Context(), bytes);
        const std::lock_guard lock(mutex_);
        lastBytes_.assign(bytes.begin(), bytes.end());
        lastConversion_ = built;
        known_ = true;
        return built;
    }

private:
    // A context of its own: nothing else in the program registers plug-ins into it or sees its
    // error reports. A null context (no memory) is Little CMS's global one and works as well.
    DisplayColours() : context_(cmsCreateContext(nullptr, nullptr)) {}

    cms::Context context_;  // declared first, so freed after the kept transform
    std::mutex mutex_;
    bool known_ = false;
    std::vector<std::uint8_t> lastBytes_;
    SharedTransform lastConversion_;
};

}  // namespace

bool ConvertToSrgbForDisplay(render::RasterImage& image, std::span<const std::uint8_t> iccProfile) {
    if (iccProfile.empty() || image.pixels.empty()) return false;
    const SharedTransform transform = DisplayColours::Instance().ConversionFor(iccProfile);
    if (!transform) return false;
    Color* pixels = image.pixels.data();
    const std::size_t count = image.pixels.size();
    for (std::size_t done = 0; done < count;) {
        const std::size_t part = std::min(count - done, kPixelsPerCall);
        // In place: each pixel is read before it is written, and input and output are one format.
        cmsDoTransform(transform.get(), pixels + done, pixels + done, static_cast<cmsUInt32Number>(part));
        done += part;
    }
    return true;
}

bool ProfileParses(std::span<const std::uint8_t> iccProfile) {
    const cmsContext context = DisplayColours::Instance().Context();
    const cms::Profile profile = OpenProfile(context, iccProfile);
    if (!profile || !DescribesPictures(profile.get())) return false;
    // Opening reads the header and the tag table only; building a conversion to the connection
    // space reads the tags the colours are described by.
    const cmsUInt32Number format = cmsFormatterForColorspaceOfProfile(profile.get(), 2, FALSE);
    if (format == 0) return false;
    const cms::Profile lab(cmsCreateLab4ProfileTHR(context, nullptr));
    if (!lab) return false;
    const cms::Transform transform(cmsCreateTransformTHR(context, profile.get(), format, lab.get(), TYPE_Lab_DBL,
                                                         IntentFor(profile.get()),
                                                         cmsFLAGS_NOOPTIMIZE | cmsFLAGS_NOCACHE));
    return transform != nullptr;
}

std::string ProfileDescription(std::span<const std::uint8_t> iccProfile) {
    const cms::Profile profile = OpenProfile(DisplayColours::Instance().Context(), iccProfile);
    if (!profile) return {};
    const cmsUInt32Number bytes = cmsGetProfileInfo(profile.get(), cmsInfoDescription, "en", "US", nullptr, 0);
    if (bytes < sizeof(wchar_t)) return {};
    std::vector<wchar_t> text(bytes / sizeof(wchar_t) + 1, L'\0');
    cmsGetProfileInfo(profile.get(), cmsInfoDescription, "en", "US", text.data(),
                      static_cast<cmsUInt32Number>(text.size() * sizeof(wchar_t)));
    std::string description;
    for (const wchar_t character : text) {
        if (character == L'\0') break;
        render::AppendUtf8(description, static_cast<char32_t>(character));
    }
    return description;
}

}  // namespace velinor::imageio
