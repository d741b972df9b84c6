#include "plugins/SharedObjectCheck.h"

#include <fcntl.h>
#include <gelf.h>
#include <libelf.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>

namespace velinor::plugins {

namespace {

// The entry points of both picture libraries; the program calls each of these it finds.
constexpr const char* kEntryPoints[] = {"LoadImageFile", "ReleaseImageFile", "NViewLibLoad",
                                        "GetWidth",      "GetHeight",        "NViewLibRelease"};

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

struct ElfCloser {
    void operator()(Elf* elf) const { elf_end(elf); }
};
using ElfHandle = std::unique_ptr<Elf, ElfCloser>;

struct Identity {
    unsigned char elfClass;
    unsigned char byteOrder;
    GElf_Half machine;
};

// ELF_C_READ reads the parts it is asked for with read(); unlike a mapping it never touches
// pages beyond the end of a short file.
ElfHandle OpenElf(int fd) { return ElfHandle(elf_begin(fd, ELF_C_READ, nullptr)); }

std::optional<Identity> IdentityOf(Elf* elf) {
    GElf_Ehdr header;
    if (elf == nullptr || elf_kind(elf) != ELF_K_ELF || gelf_getehdr(elf, &header) == nullptr) return std::nullopt;
    return Identity{header.e_ident[EI_CLASS], header.e_ident[EI_DATA], header.e_machine};
}

// What this process itself is, read from its own program file once.
const std::optional<Identity>& OwnIdentity() {
    static const std::optional<Identity> own = [] {
        FileDescriptor fd(::open("/proc/self/exe", O_RDONLY | O_CLOEXEC));
        if (fd.Get() < 0) return std::optional<Identity>{};
        const ElfHandle elf = OpenElf(fd.Get());
        return IdentityOf(elf.get());
    }();
    return own;
}

bool Within(GElf_Off offset, GElf_Xword size, std::uint64_t fileSize) {
    return offset <= fileSize && size <= fileSize - offset;
}

bool IsEntryPoint(const char* name) {
    for (const char* entry : kEntryPoints) {
        if (std::strcmp(name, entry) == 0) return true;
    }
    return false;
}

// The loadable segments and the dynamic section lie within the file; at least one segment
// holds code.
bool SegmentsWithinFile(Elf* elf, std::uint64_t fileSize) {
    std::size_t count = 0;
    if (elf_getphdrnum(elf, &count) != 0 || count == 0) return false;
    bool executable = false;
    for (std::size_t i = 0; i < count; ++i) {
        GElf_Phdr segment;
        if (gelf_getphdr(elf, static_cast<int>(i), &segment) == nullptr) return false;
        if (segment.p_type != PT_LOAD && segment.p_type != PT_DYNAMIC) continue;
        if (!Within(segment.p_offset, segment.p_filesz, fileSize)) return false;
        if (segment.p_type == PT_LOAD && (segment.p_flags & PF_X) != 0) executable = true;
    }
    return executable;
}

bool InExecutableSegment(Elf* elf, GElf_Addr address) {
    std::size_t count = 0;
    if (elf_getphdrnum(elf, &count) != 0) return false;
    for (std::size_t i = 0; i < count; ++i) {
        GElf_Phdr segment;
        if (gelf_getphdr(elf, static_cast<int>(i), &segment) == nullptr) return false;
        if (segment.p_type == PT_LOAD && (segment.p_flags & PF_X) != 0 && address >= segment.p_vaddr &&
            address - segment.p_vaddr < segment.p_filesz) {
            return true;
        }
    }
    return false;
}

// Every section's contents lie within the file, and the entry points among the dynamic
// symbols are defined functions in executable code.
bool SectionsAndEntryPointsSound(Elf* elf, std::uint64_t fileSize, std::span<const char* const> required) {
    bool dynamicSymbols = false;
    std::size_t requiredFound = 0;
    for (Elf_Scn* section = elf_nextscn(elf, nullptr); section != nullptr; section = elf_nextscn(elf, section)) {
        GElf_Shdr header;
        if (gelf_getshdr(section, &header) == nullptr) return false;
        if (header.sh_type != SHT_NOBITS && !Within(header.sh_offset, header.sh_size, fileSize)) return false;
        if (header.sh_type != SHT_DYNSYM) continue;
        dynamicSymbols = true;
        Elf_Data* data = elf_getdata(section, nullptr);
        if (data == nullptr || header.sh_entsize == 0) return false;
        const std::size_t symbols = header.sh_size / header.sh_entsize;
        for (std::size_t i = 1; i < symbols; ++i) {
            GElf_Sym symbol;
            if (gelf_getsym(data, static_cast<int>(i), &symbol) == nullptr) return false;
            const char* name = elf_strptr(elf, header.sh_link, symbol.st_name);
            if (name == nullptr) return false;
            const bool wanted = std::any_of(required.begin(), required.end(),
                                            [name](const char* r) { return std::strcmp(r, name) == 0; });
            if (symbol.st_shndx == SHN_UNDEF || (!IsEntryPoint(name) && !wanted)) continue;
            const int type = GELF_ST_TYPE(symbol.st_info);
            if ((type != STT_FUNC && type != STT_GNU_IFUNC) || !InExecutableSegment(elf, symbol.st_value)) return false;
            if (wanted) ++requiredFound;
        }
    }
    return dynamicSymbols && requiredFound >= required.size();
}

}  // namespace

bool IsSoundSharedObject(const std::string& path, std::span<const char* const> required) {
    if (elf_version(EV_CURRENT) == EV_NONE) return false;
    // O_NONBLOCK: a FIFO in the library's place must not hold the program up at open.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (fd.Get() < 0 || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0) return false;
    const auto fileSize = static_cast<std::uint64_t>(info.st_size);

    const ElfHandle elf = OpenElf(fd.Get());
    const std::optional<Identity> identity = IdentityOf(elf.get());
    const std::optional<Identity>& own = OwnIdentity();
    if (!identity || !own || identity->elfClass != own->elfClass || identity->byteOrder != own->byteOrder ||
        identity->machine != own->machine) {
        return false;
    }
    GElf_Ehdr header;
    if (gelf_getehdr(elf.get(), &header) == nullptr || header.e_type != ET_DYN) return false;
    if (!Within(header.e_shoff, static_cast<GElf_Xword>(header.e_shnum) * header.e_shentsize, fileSize)) return false;
    return SegmentsWithinFile(elf.get(), fileSize) && SectionsAndEntryPointsSound(elf.get(), fileSize, required);
}

}  // namespace velinor::plugins
