#include "stamping/ReadFiles.h"

#include <filesystem>
#include <system_error>

namespace velinor::stamping {

ReadFiles::ReadFiles(const std::vector<std::string>& sources, const std::vector<std::string>& others)
    : guard_(sources), sources_(sources.size()) {
    for (const std::string& path : others) {
        if (!path.empty()) guard_.Protect(path);
    }
}

std::string ReadFiles::Refusal(const std::string& output) const {
    std::size_t which = 0;
    imageio::OutputRefusal refusal = guard_.Check(output, &which);
    if (refusal == imageio::OutputRefusal::SymbolicLink) {
        // Outputs are renamed into place, which replaces a link itself and never writes through
        // it; still, a link to a file the run reads stands for that file, and is left alone.
        std::error_code error;
        const std::filesystem::path target = std::filesystem::canonical(output, error);
        refusal = error ? imageio::OutputRefusal::None : guard_.Check(target.string(), &which);
    }
    if (refusal != imageio::OutputRefusal::ReadByRun) return {};
    const char* what = which < sources_ ? "a source picture" : "a file the run reads";
    return std::string("would replace ") + what + " (" + output + "); not written";
}

}  // namespace velinor::stamping
