#pragma once

#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/MainWindowLayout.h"
#include "platform/qt/QtPlatform.h"
#include "tests/support/PlatformSpecs.h"
#include "tests/support/ScratchFolder.h"

namespace velinor::platform::qt::test {

using velinor::platform::ControlId;

using velinor::platform::test::InControl;
using velinor::platform::test::InWindow;
using velinor::platform::test::OnTab;
using velinor::platform::test::Spec;
using velinor::platform::test::Window;

inline void Settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

// A scratch working folder with the files the program needs at start (lang.prf and the picture
// library), current while it lives; the working folder before it is current again afterwards.
class RuntimeFolder : public test_support::WorkingFolder {
public:
    RuntimeFolder() {
        std::filesystem::copy_file(std::string(VELINOR_SOURCE_DIR) + "/resources/lang.prf", "lang.prf");
        std::filesystem::create_directory("data");
        std::filesystem::copy_file(std::string(VELINOR_STAGE_DIR) + "/data/image323.so", "data/image323.so");
    }
};

// The user's configuration and pictures folders, made up for one test: XDG_CONFIG_HOME points
// into a scratch folder whose user-dirs.dirs names its "pics" folder as PICTURES, so that
// what the window remembers there stays out of the real home.
class ScratchUserFolders {
public:
    ScratchUserFolders() : previous_(qgetenv("XDG_CONFIG_HOME")) {
        QDir(scratch_.path()).mkpath("config");
        QDir(scratch_.path()).mkpath("pics");
        QFile dirs(scratch_.path() + "/config/user-dirs.dirs");
        if (dirs.open(QIODevice::WriteOnly)) dirs.write(("XDG_PICTURES_DIR=\"" + Pictures() + "\"\n").toUtf8());
        qputenv("XDG_CONFIG_HOME", (scratch_.path() + "/config").toUtf8());
    }
    ~ScratchUserFolders() {
        if (previous_.isEmpty()) qunsetenv("XDG_CONFIG_HOME");
        else qputenv("XDG_CONFIG_HOME", previous_);
    }
    QString Pictures() const { return scratch_.path() + "/pics"; }
    QString Root() const { return scratch_.path(); }

private:
    QTemporaryDir scratch_;
    QByteArray previous_;
};

class QtPlatformTest : public ::testing::Test {
protected:
    void SetUp() override { platform = std::make_unique<QtPlatform>(); }
    void TearDown() override { platform.reset(); Settle(); }

    void OpenMain() {
        WindowSpec window = Window(0, "Velinor V3.01", 620, 595);
        window.minimiseButton = true;
        ASSERT_TRUE(platform->OpenWindow(window));
    }

    // The program's whole main-window table, built straight through the backend (texts stand
    // in for the language file; image controls get a blank picture of their size), with the
    // batch-mark tab the program removes again already removed.
    void BuildProgramLayout() {
        OpenMain();
        for (const app::LayoutRow& row : app::MainWindowLayout()) {
            ControlSpec spec;
            spec.id = row.id;
            spec.kind = row.kind;
            spec.parent = {app::kMainWindow, row.parent.control, row.parent.tab};
            spec.geometry = row.geometry;
            spec.text = TextOf(row.text);
            spec.flags = row.flags;
            spec.minimum = row.minimum;
            spec.maximum = row.maximum;
            for (const app::TextRef& item : row.items) spec.items.push_back(TextOf(item));
            if (row.pattern != nullptr) spec.pattern = row.pattern;
            if (row.kind == ControlKind::Image) {
                render::RasterImage& image = images[static_cast<int>(row.id)];
                image.width = row.geometry.width;
                image.height = row.geometry.height;
                image.pixels.assign(static_cast<std::size_t>(image.width) * image.height, render::kLightGrey);
                spec.image = &image;
            }
            ASSERT_TRUE(platform->CreateControl(spec)) << static_cast<int>(row.id);
        }
        platform->RemoveTab(ControlId::PnlBatchMark, app::kRemovedBatchMarkTab);
        Settle();
    }

    static std::string TextOf(const app::TextRef& ref) {
        if (ref.source == app::TextRef::Source::Literal && ref.literal != nullptr) return ref.literal;
        if (ref.source == app::TextRef::Source::Key) return "text " + std::to_string(ref.key);
        return {};
    }

    // Every event queued so far, oldest first. Pointer movement comes whenever a widget
    // appears under the pointer, and a repaint follows each control event of real input, so
    // both are left out unless asked for.
    std::vector<Event> Drain(bool withWindowEvents = false) {
        Settle();
        std::vector<Event> events;
        while (platform->HasPendingEvent()) {
            Event event = platform->PollEvent();
            const bool windowEvent = event.code == kEventPointerMove || event.code == kEventRepaint;
            if (withWindowEvents || !windowEvent) events.push_back(std::move(event));
        }
        return events;
    }

    std::unique_ptr<QtPlatform> platform;
    std::map<int, render::RasterImage> images;
};

}  // namespace velinor::platform::qt::test
