#include "app/KeyValueFile.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "app/Cp1252.h"
#include "app/FileNames.h"
#include "imageio/AtomicFile.h"
#include "imageio/FileBytes.h"

namespace velinor::app {

namespace {

// Far beyond any settings or language file; a larger file is refused rather than loaded.
constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t{16} << 20;

char FoldedChar(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string_view TrimSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return FoldedChar(x) == FoldedChar(y); });
}

// One line of the text starting at pos, without its LF; pos moves to the next line.
std::string_view NextLine(std::string_view text, std::size_t& pos) {
    const std::size_t end = std::min(text.find('\n', pos), text.size());
    std::string_view line = text.substr(pos, end - pos);
    pos = end < text.size() ? end + 1 : text.size();
    return line;
}

// Name of a group header line (one that starts with '['): up to ']' or the line's end. A CR
// ends it as well, so that a header without ']' in a CR LF file still names its group.
std::string_view HeaderName(std::string_view line) {
    std::string_view name = line.substr(1);
    return name.substr(0, std::min(name.find(']'), name.find('\r')));
}

bool IsComment(std::string_view line) {
    const std::size_t first = line.find_first_not_of(' ');
    return first != std::string_view::npos && line[first] == ';';
}

}  // namespace

KeyValueFile::KeyValueFile() = default;
KeyValueFile::~KeyValueFile() { ClosePrefs(); }

bool KeyValueFile::OpenForRead(const std::string& path) {
    ClosePrefs();
    // Only a regular file: a FIFO in the file's place would hold the program up for ever.
    const auto read = imageio::ReadWholeFile(ResolveFileName(path), kMaxFileBytes);
    if (!read) return false;
    std::string bytes(read->begin(), read->end());
    // The text ends at the first zero byte, as a zero-terminated copy of the file would.
    bytes.resize(std::min(bytes.find('\0'), bytes.size()));
    text_ = std::move(bytes);
    reading_ = true;
    groupMissing_ = false;
    scopeStart_ = 0;
    indexed_ = false;
    return true;
}

bool KeyValueFile::SelectGroup(const std::string& name) {
    if (!reading_) return false;
    groupMissing_ = false;
    scopeStart_ = 0;
    indexed_ = false;
    if (name.empty()) return true;
    const std::optional<std::string> wanted = Utf8ToCp1252(name);
    std::size_t pos = 0;
    while (wanted && pos < text_.size()) {
        const std::string_view line = NextLine(text_, pos);
        if (!line.empty() && line[0] == '[' && SameName(HeaderName(line), *wanted)) {
            scopeStart_ = pos;
            return true;
        }
    }
    groupMissing_ = true;
    return false;
}

// Keys that compare equal without regard to the case of A-Z hash equal.
std::size_t KeyValueFile::FoldedHash::operator()(std::string_view key) const {
    std::size_t hash = 14695981039346656037ull;   // FNV-1a
    for (char c : key) hash = (hash ^ static_cast<unsigned char>(FoldedChar(c))) * 1099511628211ull;
    return hash;
}

bool KeyValueFile::FoldedEqual::operator()(std::string_view a, std::string_view b) const {
    return SameName(a, b);
}

void KeyValueFile::BuildIndex() const {
    index_.clear();
    index_.reserve(static_cast<std::size_t>(std::count(text_.begin() + static_cast<std::ptrdiff_t>(scopeStart_), text_.end(), '\n')) + 1);
    std::size_t pos = scopeStart_;
    while (pos < text_.size()) {
        const std::string_view line = NextLine(text_, pos);
        if (!line.empty() && line[0] == '[') break;  // the next group ends the selected one
        if (IsComment(line)) continue;
        // CR belongs to the line end, never to a key or value.
        const std::string_view content = line.substr(0, std::min(line.find('\r'), line.size()));
        const std::size_t equals = content.find('=');
        const std::string_view lineKey = TrimSpaces(content.substr(0, std::min(equals, content.size())));
        if (lineKey.empty()) continue;
        std::string_view value;
        if (equals != std::string_view::npos) {
            value = content.substr(equals + 1);
            value.remove_prefix(std::min(value.find_first_not_of(' '), value.size()));
        }
        // The first line of a key is the one that counts.
        index_.emplace(lineKey, value);
    }
    indexed_ = true;
}

std::string KeyValueFile::ReadString(const std::string& key, const std::string& fallback) const {
    if (!reading_ || groupMissing_ || key.empty()) return fallback;
    const std::optional<std::string> wanted = Utf8ToCp1252(key);
    if (!wanted) return fallback;
    // One pass over the selected part answers every later key: a language file is asked for
    // a hundred texts, and scanning it once each would cost a hundred passes.
    if (!indexed_) BuildIndex();
    const auto found = index_.find(std::string_view(*wanted));
    return found == index_.end() ? fallback : Cp1252ToUtf8(found->second);
}

bool KeyValueFile::CreateForWrite(const std::string& path) {
    ClosePrefs();
    out_ = std::make_unique<imageio::AtomicFile>(ResolveFileName(path));
    writeFailed_ = false;
    if (!out_->IsOpen()) out_.reset();
    return out_ != nullptr;
}

bool KeyValueFile::Storable(const std::string& key, const std::string& value) {
    const auto k = Utf8ToCp1252(key);
    const auto v = Utf8ToCp1252(value);
    return k && v && k->find_first_of("\r\n=") == std::string::npos && v->find_first_of("\r\n") == std::string::npos;
}

bool KeyValueFile::WriteGroup(const std::string& name) {
    const auto bytes = Utf8ToCp1252(name);
    if (!out_ || !bytes || bytes->find_first_of("\r\n]") != std::string::npos) return false;
    return WriteLine("[" + *bytes + "]");
}

bool KeyValueFile::WriteString(const std::string& key, const std::string& value) {
    if (!out_) return false;
    if (key.empty()) return true;
    if (!Storable(key, value)) return false;
    return WriteLine(*Utf8ToCp1252(key) + " = " + *Utf8ToCp1252(value));
}

bool KeyValueFile::WriteLine(const std::string& bytes) {
    const std::string line = bytes + "\r\n";
    if (std::fwrite(line.data(), 1, line.size(), out_->Stream()) != line.size()) {
        writeFailed_ = true;
        return false;
    }
    return true;
}

bool KeyValueFile::ClosePrefs() {
    index_.clear();
    indexed_ = false;
    text_.clear();
    text_.shrink_to_fit();
    reading_ = false;
    groupMissing_ = false;
    scopeStart_ = 0;
    bool ok = true;
    if (out_) {
        // A failed line leaves the old file: the temporary one goes without being renamed.
        ok = !writeFailed_ && out_->Commit();
        out_.reset();
    }
    writeFailed_ = false;
    return ok;
}

}  // namespace velinor::app
