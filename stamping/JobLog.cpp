#include "stamping/JobLog.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <fstream>

#include "render/Utf8.h"
#include "stamping/InputFiles.h"

namespace velinor::stamping {

namespace {

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    void Space() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\r')) ++at_;
    }
    bool Take(char c) {
        Space();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    bool AtEnd() {
        Space();
        return at_ == text_.size();
    }
    char Peek() {
        Space();
        return at_ < text_.size() ? text_[at_] : '\0';
    }

    bool String(std::string& out) {
        if (!Take('"')) return false;
        while (at_ < text_.size()) {
            const char c = text_[at_++];
            if (c == '"') return true;
            if (static_cast<unsigned char>(c) < 0x20) return false;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at_ >= text_.size()) return false;
            const char e = text_[at_++];
            switch (e) {
                case '"': case '\\': case '/': out += e; break;
                case 'b': out += '\b'; break;
                case 'f': out += '\f'; break;
                case 'n': out += '\n'; break;
                case 'r': out += '\r'; break;
                case 't': out += '\t'; break;
                case 'u': {
                    unsigned code = 0;
                    if (!Hex(code)) return false;
                    if (code >= 0xD800 && code < 0xDC00) {
                        unsigned low = 0;
                        if (at_ + 1 >= text_.size() || text_[at_] != '\\' || text_[at_ + 1] != 'u') return false;
                        at_ += 2;
                        if (!Hex(low) || low < 0xDC00 || low > 0xDFFF) return false;
                        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                    } else if (code >= 0xDC00 && code < 0xE000) {
                        return false;
                    }
                    render::AppendUtf8(out, code);
                    break;
                }
                default: return false;
            }
        }
        return false;
    }

    // A number, true, false or null: skipped over.
    bool Other() {
        Space();
        const std::size_t start = at_;
        while (at_ < text_.size() && std::strchr("+-.0123456789eEtruefalsn", text_[at_]) != nullptr) ++at_;
        const std::string_view word = text_.substr(start, at_ - start);
        if (word.empty()) return false;
        if (word == "true" || word == "false" || word == "null") return true;
        return word.find_first_not_of("+-.0123456789eE") == std::string_view::npos;
    }

private:
    bool Hex(unsigned& code) {
        if (at_ + 4 > text_.size()) return false;
        for (int i = 0; i < 4; ++i) {
            const char c = text_[at_++];
            code <<= 4;
            if (c >= '0' && c <= '9') code |= static_cast<unsigned>(c - '0');
            else if (c >= 'a' && c <= 'f') code |= static_cast<unsigned>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F') code |= static_cast<unsigned>(c - 'A' + 10);
            else return false;
        }
        return true;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

}  // namespace

std::optional<std::map<std::string, std::string>> ParseJsonLine(std::string_view line) {
    Reader reader(line);
    std::map<std::string, std::string> members;
    if (!reader.Take('{')) return std::nullopt;
    if (reader.Take('}')) return reader.AtEnd() ? std::optional(members) : std::nullopt;
    do {
        std::string name;
        if (!reader.String(name) || !reader.Take(':')) return std::nullopt;
        if (reader.Peek() == '"') {
            std::string value;
            if (!reader.String(value)) return std::nullopt;
            members[name] = std::move(value);
        } else if (!reader.Other()) {
            return std::nullopt;
        }
    } while (reader.Take(','));
    if (!reader.Take('}') || !reader.AtEnd()) return std::nullopt;
    return members;
}

bool ReadJobLog(const std::string& path, DoneBefore& done, std::string& problem) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        problem = path + ": the log cannot be read: " + std::strerror(errno);
        return false;
    }
    std::string line;
    while (std::getline(file, line)) {
        const auto members = ParseJsonLine(line);
        if (!members) continue;
        const auto source = members->find("source");
        const auto status = members->find("status");
        const auto output = members->find("output");
        if (source == members->end() || status == members->end()) continue;
        ++done.lines;
        const std::string key = ListKey(source->second);
        struct stat info {};
        // A later line of the same picture says how it ended last.
        if ((status->second == "ok" || status->second == "skipped") && output != members->end() &&
            ::stat(output->second.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
            done.outputs[key] = output->second;
        } else {
            done.outputs.erase(key);
        }
    }
    if (file.bad()) {
        problem = path + ": the log cannot be read";
        return false;
    }
    return true;
}

}  // namespace velinor::stamping
