#pragma once

// Runs the program under a script on any backend: the script supplies the user's input and
// the answers to requesters, and everything the program shows is logged to standard output.
// Shared, with the option parsing they have in common, by velinor-headless (in-memory windows) and velinor --script (the real window).

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/Application.h"
#include "imageio/FileBytes.h"
#include "imageio/Writer.h"
#include "platform/script/ScriptedPlatform.h"

namespace velinor::tools {

// "X.Y" or "X" as given to --os-version; false when it is neither.
inline bool ParseOsVersion(const std::string& text, platform::OsVersion& version) {
    int major = 0, minor = 0;
    char extra = 0;
    const int fields = std::sscanf(text.c_str(), "%d.%d%c", &major, &minor, &extra);
    if (fields == 1 && text.find('.') == std::string::npos && major >= 0) {
        version = {major, 0};
        return true;
    }
    if (fields != 2 || major < 0 || minor < 0) return false;
    version = {major, minor};
    return true;
}

// The text of a script file; nothing, after one line on standard error naming the tool, the
// file and the reason, when it is no script: missing, unreadable, a folder, or binary bytes
// (a zero byte or a control character other than tab, CR and LF).
inline std::optional<std::string> ReadScriptFile(const std::string& tool, const std::string& path) {
    const auto read = imageio::ReadWholeFile(path);
    if (read.failure == imageio::ReadFailure::Folder) {
        std::cerr << tool << ": " << path << " is a folder, not a script\n";
        return std::nullopt;
    }
    if (!read) {
        std::cerr << tool << ": cannot read the script " << path << "\n";
        return std::nullopt;
    }
    std::string bytes(read->begin(), read->end());
    for (unsigned char c : bytes) {
        if (c < 0x20 && c != '\t' && c != '\r' && c != '\n') {
            std::cerr << tool << ": " << path << " is not a script (it holds binary bytes)\n";
            return std::nullopt;
        }
    }
    return bytes;
}

// A program that keeps waiting after this many closes at the end of its script is stopped.
constexpr int kClosesAllowed = 100;
constexpr int kRunawayExit = 3;

inline int RunScriptedProgram(platform::Platform& backend, platform::UserActions& actions,
                              platform::Script script, std::vector<std::string> arguments) {
    platform::ScriptedPlatform scripted(backend, actions, std::move(script), std::cout);
    app::Application app(scripted, std::move(arguments));
    scripted.SetImageSource([&app](int number) { return app.Images().Find(number); });
    scripted.SetImageSaver([](const render::RasterImage& image, const std::string& path) {
        return imageio::SavePicture(&image, path, imageio::kEncoderPng) == 1;
    });
    scripted.SetRunawayHandler([] {
        std::cout.flush();
        std::_Exit(kRunawayExit);
    }, kClosesAllowed);
    return app.Run();
}

}  // namespace velinor::tools
