#include "app/SecondaryWindowLayout.h"

#include <vector>

#include "app/ImageNumbers.h"
#include "app/TextKeys.h"

namespace velinor::app {

namespace {

using C = platform::ControlId;
using K = platform::ControlKind;

// The entry of the text table after a literal ("Jpeg-" + entry 67).
constexpr TextRef KeyAfter(const char* prefix, TextKey key) { return {TextRef::Source::Key, key, prefix}; }

constexpr ParentRef Window() { return {}; }

}  // namespace

const WindowLayout& ProgressWindowLayout() {
    static const std::vector<LayoutRow> rows = {
        {C::TxtBatchLog, K::TextField, Window(), {5, 5, 490, 210}, {},
         platform::kFlagMultiLine | platform::kFlagScrollBars},
        {C::BtnBatchCancel, K::Button, Window(), {200, 220, 100, 20}, Key(kTextCancel)},
    };
    static const WindowLayout layout{platform::kProgressWindow, Key(kTextPictures), 500, 250, false, true, rows};
    return layout;
}

const WindowLayout& QualityWindowLayout() {
    static const std::vector<LayoutRow> rows = {
        {C::LblQuality, K::Label, Window(), {10, 10, 140, 20}, KeyAfter("Jpeg-", kTextQualityWord)},
        {C::LblQualityLow, K::Label, Window(), {9, 30, 55, 20}, Key(kTextQualityLow)},
        {C::TrkQuality, K::TrackBar, Window(), {66, 30, 115, 15}, {}, platform::kFlagNone, 0, 10},
        {C::LblQualityHigh, K::Label, Window(), {186, 30, 80, 20}, Key(kTextQualityHigh)},
        {C::BtnQualityOk, K::Button, Window(), {105, 45, 40, 20}, Literal("OK")},
        // Beside the caption, where the window is empty: the value and the JPEG quality it gives.
        {C::LblQualityValue, K::Label, Window(), {150, 10, 95, 20}},
    };
    static const WindowLayout layout{platform::kQualityWindow, Key(kTextJpegQuality), 250, 80, true, false, rows};
    return layout;
}

const WindowLayout& QualityKeepWindowLayout() {
    static const std::vector<LayoutRow> rows = [] {
        std::vector<LayoutRow> all(QualityWindowLayout().rows.begin(), QualityWindowLayout().rows.end());
        all.push_back({C::ChkKeepQuality, K::Checkbox, Window(), {10, 72, 370, 20}, Key(kTextKeepQuality)});
        return all;
    }();
    static const WindowLayout layout{platform::kQualityWindow, Key(kTextJpegQuality), 390, 100, true, false, rows};
    return layout;
}

const WindowLayout& PickerWindowLayout() {
    static const std::vector<LayoutRow> rows = {
        {C::ImgPicker, K::Image, Window(), {0, 0, kPickerSide, kPickerSide}, {}, platform::kFlagNone, 0, 0, {}, nullptr,
         pic::PicPicker},
    };
    static const WindowLayout layout{platform::kPickerWindow, Key(kTextPickColour), kPickerSide, kPickerSide,
                                     true, false, rows};
    return layout;
}

}  // namespace velinor::app
