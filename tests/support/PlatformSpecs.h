#pragma once

#include <string>
#include <utility>

#include "platform/Platform.h"

// What the platform tests hand a backend to open windows and create controls with, for the
// in-memory platform, the script runner and the Qt backend alike.
namespace velinor::platform::test {

// A control of the given kind and place; the other fields are left for the test to set.
inline ControlSpec Spec(ControlId id, ControlKind kind, ControlParent parent, Rect geometry, std::string text = {}) {
    ControlSpec spec;
    spec.id = id;
    spec.kind = kind;
    spec.parent = parent;
    spec.geometry = geometry;
    spec.text = std::move(text);
    return spec;
}

// A window of the given client size, centred, owned by owner (-1: by none).
inline WindowSpec Window(int number, std::string title, int clientWidth, int clientHeight, int owner = -1) {
    WindowSpec window;
    window.number = number;
    window.title = std::move(title);
    window.clientWidth = clientWidth;
    window.clientHeight = clientHeight;
    window.owner = owner;
    return window;
}

inline ControlParent InWindow(int window = 0) { return {window, ControlId::None, -1}; }
inline ControlParent InControl(ControlId id, int window = 0) { return {window, id, -1}; }
inline ControlParent OnTab(ControlId id, int tab, int window = 0) { return {window, id, tab}; }

}  // namespace velinor::platform::test
