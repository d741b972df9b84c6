// velinor: the program users start, on the Qt desktop.
//
//   velinor [START_ARG]
//
// Developer options (before the start argument):
//   --script SCRIPT             run a scenario script on the real window, log to standard output
//   --program-dir DIR           the folder to treat as the program's own (texturen/ is found there)
//   --os-version X.Y            the operating-system version the program is told
//   --screenshot PATH           after start-up, write a picture of the main window and close
//   --screenshot-language LANG  "english": press the English flag before the picture is taken
//   --screenshot-tab N          show tab N of the main window in the picture
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include "app/Application.h"
#include "imageio/Writer.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/RuntimeDirectory.h"
#include "platform/script/Script.h"
#include "tools/RunScript.h"

namespace {

using velinor::platform::OsVersion;
using velinor::platform::qt::QtPlatform;

constexpr int kUsageError = 2;
constexpr int kScreenshotDelayMs = 400;

struct Options {
    std::string script;
    std::string programDir;
    std::optional<OsVersion> osVersion;
    std::string screenshot;
    bool screenshotEnglish = false;
    int screenshotTab = 0;
    std::vector<std::string> arguments;
};

int Usage() {
    std::cerr << "usage: velinor [--script SCRIPT] [--program-dir DIR] [--os-version X.Y]\n"
                 "               [--screenshot PATH [--screenshot-language english] [--screenshot-tab N]]\n"
                 "               [START_ARG]\n";
    return kUsageError;
}

// Options are recognised only before the start argument, so any file name can be started.
std::optional<Options> ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (!options.arguments.empty() || arg.rfind("--", 0) != 0) {
            options.arguments.push_back(arg);
        } else if (arg == "--script" && hasValue) {
            options.script = argv[++i];
        } else if (arg == "--program-dir" && hasValue) {
            options.programDir = argv[++i];
        } else if (arg == "--os-version" && hasValue) {
            OsVersion version;
            if (!velinor::tools::ParseOsVersion(argv[++i], version)) return std::nullopt;
            options.osVersion = version;
        } else if (arg == "--screenshot" && hasValue) {
            options.screenshot = argv[++i];
        } else if (arg == "--screenshot-tab" && hasValue) {
            options.screenshotTab = std::atoi(argv[++i]);
        } else if (arg == "--screenshot-language" && hasValue) {
            const std::string language = argv[++i];
            if (language != "english" && language != "german") return std::nullopt;
            options.screenshotEnglish = language == "english";
        } else {
            return std::nullopt;
        }
    }
    if (options.arguments.size() > 1) return std::nullopt;
    return options;
}

// Runs the program with a scenario script answering requesters and logging what it shows.
int RunScript(QtPlatform& platform, const Options& options) {
    std::ifstream file(options.script, std::ios::binary);
    if (!file) {
        std::cerr << "velinor: cannot read " << options.script << "\n";
        return kUsageError;
    }
    std::ostringstream text;
    text << file.rdbuf();
    auto parsed = velinor::platform::ParseScript(text.str());
    if (parsed.error) {
        std::cerr << "velinor: " << options.script << ": " << parsed.error->Describe() << "\n";
        return kUsageError;
    }
    platform.SetScriptedInput(true);
    return velinor::tools::RunScriptedProgram(platform, platform, std::move(parsed.script), options.arguments);
}

// Once the window stands, optionally switches the language, writes the window's picture and
// closes the program the way a user would.
void ScheduleScreenshot(QtPlatform& platform, const Options& options) {
    QTimer::singleShot(kScreenshotDelayMs, [&platform, options] {
        if (options.screenshotEnglish) platform.UserToolbar(velinor::platform::ToolbarItem::TbEnglish);
        if (options.screenshotTab > 0) platform.UserSet(velinor::platform::ControlId::PnlTabs, options.screenshotTab);
        QTimer::singleShot(kScreenshotDelayMs, [&platform, options] {
            QWidget* window = platform.WindowWidget(0);
            if (window == nullptr || !window->grab().save(QString::fromStdString(options.screenshot), "PNG")) {
                std::cerr << "velinor: could not write " << options.screenshot << "\n";
            }
            platform.UserClose(0);
        });
    });
}

}  // namespace

int main(int argc, char** argv) {
    velinor::platform::qt::PrepareRuntimeDirectory();
    QApplication application(argc, argv);   // takes Qt's own options out of argv
    application.setApplicationName("Velinor");
    const auto options = ParseOptions(argc, argv);
    if (!options) return Usage();

    QtPlatform platform;
    if (!options->programDir.empty()) platform.SetProgramDirectory(options->programDir);
    if (options->osVersion) platform.SetOsVersion(*options->osVersion);
    if (!options->script.empty()) return RunScript(platform, *options);

    if (!options->screenshot.empty()) ScheduleScreenshot(platform, *options);
    velinor::app::Application app(platform, options->arguments);
    return app.Run();
}
