#include "runtime/SourceLines.h"

#include <dwarf.h>
#include <elfutils/libdw.h>
#include <fcntl.h>
#include <link.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <unordered_map>

#ifndef VELINOR_SOURCE_ROOT
#define VELINOR_SOURCE_ROOT ""
#endif

namespace velinor::runtime {

namespace {

// Closes the descriptor and ends the libdw session whatever way the reading ends.
class DwarfFile {
public:
    explicit DwarfFile(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        if (fd_ >= 0) dwarf_ = dwarf_begin(fd_, DWARF_C_READ);
    }
    ~DwarfFile() {
        if (dwarf_ != nullptr) dwarf_end(dwarf_);
        if (fd_ >= 0) ::close(fd_);
    }
    DwarfFile(const DwarfFile&) = delete;
    DwarfFile& operator=(const DwarfFile&) = delete;

    Dwarf* get() const { return dwarf_; }

private:
    int fd_ = -1;
    Dwarf* dwarf_ = nullptr;
};

// The main program is the first object the dynamic linker reports; its load bias turns link
// addresses of a position-independent program into run-time addresses.
int MainProgramBias(dl_phdr_info* info, std::size_t, void* data) {
    *static_cast<std::uintptr_t*>(data) = info->dlpi_addr;
    return 1;
}

std::string CompileDirOf(Dwarf_Die* unit) {
    Dwarf_Attribute attribute;
    const char* dir = dwarf_formstring(dwarf_attr(unit, DW_AT_comp_dir, &attribute));
    return dir != nullptr ? dir : "";
}

bool StartsWithFolder(const std::string& path, const std::string& folder) {
    return !folder.empty() && path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
           (folder.back() == '/' || path[folder.size()] == '/');
}

struct RawRow {
    std::uintptr_t address;
    int file;     // index into the names met while reading; -1 past the end of a sequence
    int line;
};

}  // namespace

std::string SourceLineTable::DisplayName(const std::string& path, const std::string& compileDir,
                                         const std::string& sourceRoot) {
    namespace fs = std::filesystem;
    // A build cache may hand out objects compiled in another checkout, with paths relative to
    // that compilation's folder or below it; the part after the climb to the source folder is
    // the same in every checkout.
    std::string relative;
    if (!path.empty() && path.front() != '/') {
        relative = path;
    } else if (StartsWithFolder(path, compileDir)) {
        relative = path.substr(compileDir.size() + 1);
    }
    if (!relative.empty()) {
        relative = fs::path(relative).lexically_normal().generic_string();
        while (relative.rfind("../", 0) == 0) relative.erase(0, 3);
        return relative;
    }
    const std::string normal = fs::path(path).lexically_normal().generic_string();
    if (StartsWithFolder(normal, sourceRoot)) {
        std::size_t start = sourceRoot.size();
        if (normal[start] == '/') ++start;
        return normal.substr(start);
    }
    return normal;
}

bool SourceLineTable::Load() {
    std::uintptr_t bias = 0;
    dl_iterate_phdr(MainProgramBias, &bias);
    return LoadFrom("/proc/self/exe", bias);
}

bool SourceLineTable::LoadFrom(const std::string& path, std::uintptr_t loadBias) {
    rows_.clear();
    files_.assign(1, std::string());
    loaded_ = false;

    DwarfFile file(path);
    if (file.get() == nullptr) return false;

    std::vector<RawRow> raw;
    std::vector<std::string> names;
    std::unordered_map<std::string, int> nameIds;
    std::unordered_map<const char*, int> pathIds;   // libdw keeps one string per file entry
    const std::string sourceRoot = VELINOR_SOURCE_ROOT;

    Dwarf_CU* unit = nullptr;
    Dwarf_CU* next = nullptr;
    Dwarf_Half version = 0;
    std::uint8_t unitType = 0;
    Dwarf_Die unitDie, subDie;
    for (; dwarf_get_units(file.get(), unit, &next, &version, &unitType, &unitDie, &subDie) == 0; unit = next) {
        if (unitType != DW_UT_compile && unitType != DW_UT_partial) continue;
        Dwarf_Lines* lines = nullptr;
        std::size_t count = 0;
        if (dwarf_getsrclines(&unitDie, &lines, &count) != 0) continue;
        const std::string compileDir = CompileDirOf(&unitDie);
        pathIds.clear();
        for (std::size_t i = 0; i < count; ++i) {
            Dwarf_Line* line = dwarf_onesrcline(lines, i);
            Dwarf_Addr address = 0;
            int number = 0;
            bool endSequence = false;
            if (line == nullptr || dwarf_lineaddr(line, &address) != 0) continue;
            dwarf_lineendsequence(line, &endSequence);
            if (endSequence) {
                raw.push_back({static_cast<std::uintptr_t>(address + loadBias), -1, 0});
                continue;
            }
            dwarf_lineno(line, &number);
            const char* source = dwarf_linesrc(line, nullptr, nullptr);
            if (source == nullptr) continue;
            auto known = pathIds.find(source);
            int id = 0;
            if (known != pathIds.end()) {
                id = known->second;
            } else {
                std::string name = DisplayName(source, compileDir, sourceRoot);
                auto [entry, added] = nameIds.try_emplace(name, static_cast<int>(names.size()));
                if (added) names.push_back(std::move(name));
                id = entry->second;
                pathIds.emplace(source, id);
            }
            raw.push_back({static_cast<std::uintptr_t>(address + loadBias), id, number});
        }
    }
    if (raw.empty()) return false;

    // One byte names the file: the program's own files (relative names) take the indices first,
    // library headers what is left; a file beyond the last index is reported as file 0.
    std::vector<int> indexOf(names.size(), 0);
    int nextIndex = 1;
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t id = 0; id < names.size() && nextIndex <= kMaxFileIndex; ++id) {
            const bool own = !names[id].empty() && names[id].front() != '/';
            if (own != (pass == 0)) continue;
            indexOf[id] = nextIndex++;
            files_.push_back(names[id]);
        }
    }

    // Where a sequence ends and another begins at the same address, the beginning counts.
    std::stable_sort(raw.begin(), raw.end(), [](const RawRow& a, const RawRow& b) {
        if (a.address != b.address) return a.address < b.address;
        return a.file < 0 && b.file >= 0;
    });
    // Offsets keep the table at half the size; a program larger than 4 GiB keeps what fits.
    base_ = raw.front().address;
    rows_.reserve(raw.size());
    for (const RawRow& row : raw) {
        if (row.address - base_ > UINT32_MAX) break;
        const auto offset = static_cast<std::uint32_t>(row.address - base_);
        SourcePosition position = 0;
        if (row.file >= 0) {
            position = static_cast<SourcePosition>((static_cast<std::uint32_t>(indexOf[row.file]) << kFileIndexShift) |
                                                   (static_cast<std::uint32_t>(row.line) & kLineMask));
        }
        // Of several rows at one address the last one describes the instruction there.
        if (!rows_.empty() && rows_.back().offset == offset) {
            rows_.back().position = position;
        } else {
            rows_.push_back({offset, position});
        }
    }
    loaded_ = true;
    return true;
}

SourcePosition SourceLineTable::PositionOf(std::uintptr_t address) const noexcept {
    if (!loaded_) return kPositionTrackingOff;
    if (address < base_ || address - base_ > UINT32_MAX) return 0;
    const auto offset = static_cast<std::uint32_t>(address - base_);
    auto after = std::upper_bound(rows_.begin(), rows_.end(), offset,
                                  [](std::uint32_t o, const Row& row) { return o < row.offset; });
    if (after == rows_.begin()) return 0;
    return std::prev(after)->position;
}

const std::string& SourceLineTable::FileName(int index) const {
    static const std::string kNone;
    if (index <= 0 || static_cast<std::size_t>(index) >= files_.size()) return kNone;
    return files_[static_cast<std::size_t>(index)];
}

}  // namespace velinor::runtime
