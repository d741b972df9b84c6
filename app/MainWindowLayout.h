#pragma once

#include <span>
#include <vector>

#include "app/TextKeys.h"
#include "platform/Platform.h"

namespace velinor::app {

// Where a control's text comes from.
struct TextRef {
    enum class Source { None, Key, Literal, DefaultDir, Info, Website };
    Source source = Source::None;
    TextKey key = kTextNone;         // Source::Key: entry of the text table
    const char* literal = nullptr;   // Source::Literal: the text; Source::Key: written before the entry
    bool relabelled = true;          // Source::Key: the language switch sets the text again
};

constexpr TextRef Key(TextKey key) { return {TextRef::Source::Key, key, nullptr}; }
// A text of the table that stays in the language of the start when the language is switched.
constexpr TextRef KeyOfStart(TextKey key) { return {TextRef::Source::Key, key, nullptr, false}; }
constexpr TextRef Literal(const char* text) { return {TextRef::Source::Literal, kTextNone, text}; }

// Parent of a control in the main window: its client area, a page of a tab panel, or a
// container.
struct ParentRef {
    platform::ControlId control = platform::ControlId::None;
    int tab = -1;
};

// One control of the main window, in build order. Options created one after another form a
// group until a control of another kind follows, so the order of the rows matters.
struct LayoutRow {
    platform::ControlId id;
    platform::ControlKind kind;
    ParentRef parent;
    platform::Rect geometry;
    TextRef text{};
    unsigned flags = platform::kFlagNone;
    int minimum = 0;
    int maximum = 0;
    std::vector<TextRef> items{};     // combo entries, tab pages, list column header
    const char* pattern = nullptr;    // file list filter
    int image = 0;                    // image controls: number in the image registry
};

// A state the build gives a control, with the text that goes with it (spins show their value).
struct InitialState {
    platform::ControlId id;
    int state;
    const char* text = nullptr;
};

inline constexpr const char* kWindowTitle = "Velinor V3.01";
using platform::kMainWindow;
inline constexpr int kClientWidth = 620;
inline constexpr int kClientHeight = 595;
inline constexpr const char* kWebsite = "https://velinor.example/download";
inline constexpr const char* kWebsiteLabel = "velinor.example/download";

std::span<const LayoutRow> MainWindowLayout();
std::span<const InitialState> InitialStates();

// Containers hidden after the build, and the buttons drawn black on light grey.
std::span<const platform::ControlId> HiddenAfterBuild();
std::span<const platform::ControlId> GreyButtons();

// The tab of PnlBatchMark that is built and then removed again.
inline constexpr int kRemovedBatchMarkTab = 2;

}  // namespace velinor::app
