#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace velinor::app::testing {

// A fresh empty folder that is the working folder while the object lives: the program reads
// and writes its settings and language files in the working folder.
class TestFolder {
public:
    TestFolder() : previous_(std::filesystem::current_path()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "velinor-app-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
        std::filesystem::current_path(path_);
    }
    ~TestFolder() {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

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

private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

}  // namespace velinor::app::testing
