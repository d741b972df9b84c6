// velinor-headless: the whole program on the in-memory platform, driven by a script, with a
// one-line log of everything it shows on standard output.
//
//   velinor-headless [--program-dir DIR] [--os-version X.Y] SCRIPT [START_ARG]
//
// Exit status: the program's own; 2 for a malformed command line or script; 3 when the program
// kept waiting for events long after the script had ended.
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/RuntimeErrorHandler.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/script/Script.h"
#include "runtime/ErrorReport.h"
#include "tools/RunScript.h"

namespace {

using velinor::platform::HeadlessPlatform;
using velinor::platform::OsVersion;

constexpr int kUsageError = 2;
// A program that ignores this many closes after the script ended is stopped with status 3.

int Usage() {
    std::cerr << "usage: velinor-headless [--program-dir DIR] [--os-version X.Y] SCRIPT [START_ARG]\n";
    return kUsageError;
}

// The folder of the running program file, with a trailing '/'.
std::string OwnFolder() {
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return "./";
    std::string full(path, static_cast<std::size_t>(length));
    return full.substr(0, full.rfind('/') + 1);
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
        } else if (arg == "--") {
            optionsEnded = true;   // a start argument that begins with "--" follows
        } else if (arg == "--program-dir" && i + 1 < argc) {
            options.programDirectory = argv[++i];
        } else if (arg == "--os-version" && i + 1 < argc) {
            if (!velinor::tools::ParseOsVersion(argv[++i], options.osVersion)) {
                std::cerr << "velinor-headless: bad operating-system version \"" << argv[i] << "\"\n";
                return kUsageError;
            }
        } else {
            return Usage();
        }
    }
    if (positional.empty() || positional.size() > 2) return Usage();
    if (options.programDirectory.empty()) options.programDirectory = OwnFolder();

    const std::string& scriptPath = positional[0];
    std::ifstream file(scriptPath, std::ios::binary);
    if (!file) {
        std::cerr << "velinor-headless: cannot read " << scriptPath << "\n";
        return kUsageError;
    }
    std::ostringstream text;
    text << file.rdbuf();
    auto parsed = velinor::platform::ParseScript(text.str());
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
