// velinor-headless: the whole program on the in-memory platform, driven by a script, with a
// one-line log of everything it shows on standard output.
//
//   velinor-headless [--program-dir DIR] [--os-version X.Y] SCRIPT [START_ARG]
//
// Exit status: the program's own; 0 for --help; 2 for a malformed command line or script (or a
// script file that is missing, a folder or binary); 3 when the program kept waiting for events
// long after the script had ended.
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/RuntimeErrorHandler.h"
#include "files/ProgramFiles.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/script/Script.h"
#include "runtime/ErrorReport.h"
#include "tools/OptionTable.h"
#include "tools/RunScript.h"

namespace {

using velinor::platform::HeadlessPlatform;
using velinor::platform::OsVersion;

constexpr int kUsageError = 2;
constexpr const char* kUsageText = "usage: velinor-headless [--program-dir DIR] [--os-version X.Y] SCRIPT [START_ARG]\n";

constexpr const char* kAbout =
    "Runs the whole program on an in-memory model of its windows, driven by SCRIPT (one user\n"
    "action, requester answer or question a line), and logs everything it shows to standard\n"
    "output, one line each. START_ARG is the picture or folder the program is started with.\n";

constexpr velinor::tools::OptionRow kOptions[] = {
    velinor::tools::kProgramDirOption,
    velinor::tools::kOsVersionOption,
    {"--", "", "ends the options: a start argument that begins with -- follows"},
    velinor::tools::kHelpOption,
};

// One line saying what is wrong with the command line, then the usage.
int Usage(const std::string& problem) {
    if (!problem.empty()) std::cerr << "velinor-headless: " << problem << "\n";
    std::cerr << kUsageText;
    return kUsageError;
}

}  // namespace

static int Main(int argc, char** argv) {
    HeadlessPlatform::Options options;
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (optionsEnded || arg.rfind("--", 0) != 0) {
            positional.push_back(arg);
        } else if (arg == "--help") {
            std::cout << kUsageText << kAbout << "\nOptions:\n";
            velinor::tools::PrintOptions(std::cout, kOptions);
            return 0;
        } else if (arg == "--") {
            optionsEnded = true;   // a start argument that begins with "--" follows
        } else if (arg == "--program-dir" && i + 1 < argc) {
            options.programDirectory = argv[++i];
        } else if (arg == "--os-version" && i + 1 < argc) {
            if (!velinor::tools::ParseOsVersion(argv[++i], options.osVersion)) {
                std::cerr << "velinor-headless: bad operating-system version \"" << argv[i] << "\"\n";
                return kUsageError;
            }
        } else if (arg == "--program-dir" || arg == "--os-version") {
            return Usage(arg + " needs a value");
        } else {
            return Usage("unknown option " + arg);
        }
    }
    if (positional.empty()) return Usage("no script given");
    if (positional.size() > 2) return Usage("one script and at most one start argument, not " + positional[2]);
    if (options.programDirectory.empty()) options.programDirectory = velinor::files::OwnFolder();

    const std::string& scriptPath = positional[0];
    const std::optional<std::string> text = velinor::tools::ReadScriptFile("velinor-headless", scriptPath);
    if (!text) return kUsageError;
    auto parsed = velinor::platform::ParseScript(*text);
    if (parsed.error) {
        std::cerr << "velinor-headless: " << scriptPath << ": " << parsed.error->Describe() << "\n";
        return kUsageError;
    }

    HeadlessPlatform backend(options);
    std::vector<std::string> arguments;
    if (positional.size() == 2) arguments.push_back(positional[1]);
    return velinor::tools::RunScriptedProgram(backend, backend, std::move(parsed.script), arguments);
}

int main(int argc, char** argv) {
    velinor::app::CatchFaultsInThisProcess();
    return velinor::runtime::RunReportingExceptions([&] { return Main(argc, argv); });
}
