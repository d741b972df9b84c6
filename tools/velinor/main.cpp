// velinor: the program users start, on the Qt desktop.
//
//   velinor [OPTION]... [START_ARG]
//
// The developer options (before the start argument) are the table kOptions below; --help
// prints it, and the manual page is made from that.
//
// Exit status: the program's own; 0 for --help; 1 when the screenshot could not be written;
// 2 for a malformed command line or script.
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include "app/Application.h"
#include "app/RuntimeErrorHandler.h"
#include "imageio/Writer.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/RuntimeDirectory.h"
#include "platform/script/Script.h"
#include "runtime/ErrorReport.h"
#include "tools/OptionTable.h"
#include "tools/RunScript.h"

namespace {

using velinor::platform::OsVersion;
using velinor::platform::qt::QtPlatform;

constexpr int kUsageError = 2;
constexpr int kScreenshotFailed = 1;
constexpr int kScreenshotDelayMs = 400;
constexpr int kLastTab = 3;   // the main window's tabs are 0 to 3

struct Options {
    std::string script;
    std::string programDir;
    std::optional<OsVersion> osVersion;
    std::string screenshot;
    bool screenshotEnglish = false;
    int screenshotTab = 0;
    std::vector<std::string> arguments;
};

constexpr const char* kUsageText = "usage: velinor [OPTION]... [PICTURE_OR_FOLDER]\n";

constexpr const char* kAbout =
    "Stamps photographs with a line of text, a logo or a decorative frame. A picture given\n"
    "opens in the previews; the pictures of a folder given fill the batch list.\n";

constexpr velinor::tools::OptionRow kOptions[] = {
    {"--script", "SCRIPT", "run a scenario script on the real window, log to standard output"},
    velinor::tools::kProgramDirOption,
    velinor::tools::kOsVersionOption,
    {"--screenshot", "PATH", "after start-up, write a PNG of the main window and close"},
    {"--screenshot-language", "LANG", "english or german: the flag pressed before the picture is taken"},
    {"--screenshot-tab", "N", "show tab N (0 to 3) of the main window in the picture"},
    velinor::tools::kHelpOption,
};

void PrintHelp() {
    std::cout << kUsageText << kAbout << "\nDeveloper options (before the start argument):\n";
    velinor::tools::PrintOptions(std::cout, kOptions);
}

// One line saying what is wrong with the command line, then the usage.
int Usage(const std::string& problem) {
    if (!problem.empty()) std::cerr << "velinor: " << problem << "\n";
    std::cerr << kUsageText << "Try 'velinor --help' for the options.\n";
    return kUsageError;
}

// The tab number of --screenshot-tab: a whole number from 0 to kLastTab.
std::optional<int> ParseTab(const std::string& text) {
    if (text.size() != 1 || text[0] < '0' || text[0] > '0' + kLastTab) return std::nullopt;
    return text[0] - '0';
}

struct ParseResult {
    std::optional<Options> options;
    std::string problem;
    bool help = false;
};

// Options are recognised only before the start argument, so any file name can be started.
ParseResult ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (!options.arguments.empty() || arg.rfind("--", 0) != 0) {
            options.arguments.push_back(arg);
            continue;
        }
        if (arg == "--help") return {std::nullopt, "", true};
        if (velinor::tools::FindOption(kOptions, arg) == nullptr) return {std::nullopt, "unknown option " + arg};
        if (!hasValue) return {std::nullopt, arg + " needs a value"};
        const std::string value = argv[++i];
        if (arg == "--script") {
            options.script = value;
        } else if (arg == "--program-dir") {
            options.programDir = value;
        } else if (arg == "--os-version") {
            OsVersion version;
            if (!velinor::tools::ParseOsVersion(value, version)) return {std::nullopt, "bad operating-system version \"" + value + "\""};
            options.osVersion = version;
        } else if (arg == "--screenshot") {
            options.screenshot = value;
        } else if (arg == "--screenshot-tab") {
            const std::optional<int> tab = ParseTab(value);
            if (!tab) return {std::nullopt, "--screenshot-tab takes a tab number from 0 to 3, not \"" + value + "\""};
            options.screenshotTab = *tab;
        } else {
            if (value != "english" && value != "german") {
                return {std::nullopt, "--screenshot-language takes english or german, not \"" + value + "\""};
            }
            options.screenshotEnglish = value == "english";
        }
    }
    if (options.arguments.size() > 1) return {std::nullopt, "one start argument at most, not " + options.arguments[1]};
    return {options, ""};
}

// Runs the program with a scenario script answering requesters and logging what it shows.
int RunScript(QtPlatform& platform, const Options& options) {
    const std::optional<std::string> text = velinor::tools::ReadScriptFile("velinor", options.script);
    if (!text) return kUsageError;
    auto parsed = velinor::platform::ParseScript(*text);
    if (parsed.error) {
        std::cerr << "velinor: " << options.script << ": " << parsed.error->Describe() << "\n";
        return kUsageError;
    }
    platform.SetScriptedInput(true);
    return velinor::tools::RunScriptedProgram(platform, platform, std::move(parsed.script), options.arguments);
}

// Once the window stands, optionally switches the language, writes the window's picture and
// closes the program the way a user would. failed is set when the picture could not be written.
void ScheduleScreenshot(QtPlatform& platform, const Options& options, bool& failed) {
    QTimer::singleShot(kScreenshotDelayMs, [&platform, options, &failed] {
        if (options.screenshotEnglish) platform.UserToolbar(velinor::platform::ToolbarItem::TbEnglish);
        if (options.screenshotTab > 0) platform.UserSet(velinor::platform::ControlId::PnlTabs, options.screenshotTab);
        QTimer::singleShot(kScreenshotDelayMs, [&platform, options, &failed] {
            QWidget* window = platform.WindowWidget(0);
            if (window == nullptr || !window->grab().save(QString::fromStdString(options.screenshot), "PNG")) {
                std::cerr << "velinor: could not write the screenshot " << options.screenshot << "\n";
                failed = true;
            }
            platform.UserClose(0);
        });
    });
}

}  // namespace

// True when --help comes among the options (before any start argument). Looked for before Qt
// starts, so that the usage is printed even where no display is there; after Qt's own options
// (-platform NAME) it is found once Qt has taken those out.
bool AsksForHelp(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help") return true;
        if (arg.rfind("--", 0) != 0) return false;
        ++i;   // the option's value
    }
    return false;
}

static int Main(int argc, char** argv) {
    if (AsksForHelp(argc, argv)) {
        PrintHelp();
        return 0;
    }
    velinor::platform::qt::PrepareRuntimeDirectory();
    QApplication application(argc, argv);   // takes Qt's own options out of argv
    application.setApplicationName("Velinor");
    const ParseResult parsed = ParseOptions(argc, argv);
    if (parsed.help) {
        PrintHelp();
        return 0;
    }
    if (!parsed.options) return Usage(parsed.problem);
    const std::optional<Options>& options = parsed.options;

    QtPlatform platform;
    if (!options->programDir.empty()) platform.SetProgramDirectory(options->programDir);
    if (options->osVersion) platform.SetOsVersion(*options->osVersion);
    if (!options->script.empty()) return RunScript(platform, *options);

    bool screenshotFailed = false;
    if (!options->screenshot.empty()) ScheduleScreenshot(platform, *options, screenshotFailed);
    velinor::app::Application app(platform, options->arguments);
    const int status = app.Run();
    return status == 0 && screenshotFailed ? kScreenshotFailed : status;
}

int main(int argc, char** argv) {
    velinor::app::CatchFaultsInThisProcess();
    return velinor::runtime::RunReportingExceptions([&] { return Main(argc, argv); });
}
