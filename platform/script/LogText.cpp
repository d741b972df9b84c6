#include "platform/script/LogText.h"

#include <cstdio>

namespace velinor::platform {

std::string Quote(std::string_view text) {
    std::string quoted = "\"";
    for (char c : text) {
        switch (c) {
        case '"': quoted += "\\\""; break;
        case '\\': quoted += "\\\\"; break;
        case '\r': quoted += "\\r"; break;
        case '\n': quoted += "\\n"; break;
        case '\t': quoted += "\\t"; break;
        default: quoted += c; break;
        }
    }
    quoted += '"';
    return quoted;
}

std::string Hex6(long long value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "0x%06llX", static_cast<unsigned long long>(value));
    return buffer;
}

}  // namespace velinor::platform
