#include "imageio/FileNames.h"

namespace velinor::imageio {

std::string ExtensionPart(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return {};
    std::string extension = path.substr(dot + 1);
    const std::size_t quote = extension.find('"');
    if (quote != std::string::npos) extension.resize(quote);
    return extension;
}

std::string FilePart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace velinor::imageio
