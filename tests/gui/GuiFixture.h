#pragma once

#include <memory>

#include <QCoreApplication>

#include <gtest/gtest.h>

#include "platform/qt/QtPlatform.h"

namespace velinor::platform::qt::test {

using velinor::platform::ControlId;

inline ControlSpec Spec(ControlId id, ControlKind kind, ControlParent parent, Rect geometry, std::string text = {}) {
    ControlSpec spec;
    spec.id = id;
    spec.kind = kind;
    spec.parent = parent;
    spec.geometry = geometry;
    spec.text = std::move(text);
    return spec;
}

inline ControlParent InWindow(int window = 0) { return {window, ControlId::None, -1}; }
inline ControlParent InControl(ControlId id, int window = 0) { return {window, id, -1}; }
inline ControlParent OnTab(ControlId id, int tab, int window = 0) { return {window, id, tab}; }

inline void Settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

class QtPlatformTest : public ::testing::Test {
protected:
    void SetUp() override { platform = std::make_unique<QtPlatform>(); }
    void TearDown() override { platform.reset(); Settle(); }

    void OpenMain() {
        WindowSpec window;
        window.number = 0;
        window.title = "Velinor V3.01";
        window.clientWidth = 620;
        window.clientHeight = 595;
        window.minimiseButton = true;
        ASSERT_TRUE(platform->OpenWindow(window));
    }

    // Every event queued so far, oldest first. Pointer movement comes whenever a widget
    // appears under the pointer, so it is left out unless asked for.
    std::vector<Event> Drain(bool withPointer = false) {
        Settle();
        std::vector<Event> events;
        while (platform->HasPendingEvent()) {
            Event event = platform->PollEvent();
            if (withPointer || event.code != kEventPointerMove) events.push_back(std::move(event));
        }
        return events;
    }

    std::unique_ptr<QtPlatform> platform;
};

}  // namespace velinor::platform::qt::test
