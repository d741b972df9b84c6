#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/ScratchFolder.h"

namespace velinor::app::testing {

// A fresh empty folder that is the working folder while the object lives: the program reads
// and writes its settings and language files in the working folder.
class TestFolder : public test_support::WorkingFolder {
public:
    static void Write(const std::string& name, const std::string& bytes) {
        std::filesystem::create_directories(std::filesystem::path(name).parent_path().empty()
                                                ? std::filesystem::path(".")
                                                : std::filesystem::path(name).parent_path());
        std::ofstream(name, std::ios::binary) << bytes;
    }
    static std::string Read(const std::string& name) {
        std::ifstream in(name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

}  // namespace velinor::app::testing
