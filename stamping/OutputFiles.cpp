#include "stamping/OutputFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "imageio/FileNames.h"
#include "imageio/TemporaryFiles.h"
#include "imageio/Writer.h"

namespace velinor::stamping {

namespace {

constexpr int kMostUniqueTries = 100000;

std::string Stem(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string Suffix(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? std::string() : name.substr(dot);
}

// Renames without replacing anything: false with EEXIST when the name is taken.
bool RenameNew(const std::string& from, const std::string& to) {
    return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0;
}

// The process a temporary of ours names: ".NAME.PID-N.part" or "..NAME.PID-N.part.XXXXXX"
// (the writer's temporary beside ours), NAME one of names. 0 when entry is neither.
pid_t LeftoverOf(const std::string& entry, const std::set<std::string>& names) {
    std::string_view rest(entry);
    // The writer's temporary: "." + ours + ".XXXXXX".
    if (rest.size() > 14 && rest.compare(0, 2, "..") == 0 && rest[rest.size() - 7] == '.' &&
        rest.compare(rest.size() - 12, 5, ".part") == 0) {
        rest = rest.substr(1, rest.size() - 8);
    }
    if (rest.size() < 8 || rest[0] != '.' || rest.compare(rest.size() - 5, 5, ".part") != 0) return 0;
    rest.remove_prefix(1);
    rest.remove_suffix(5);
    // NAME.PID-N: the digits after the last '.' are the process and serial.
    const std::size_t dot = rest.rfind('.');
    if (dot == std::string_view::npos) return 0;
    const std::string_view tag = rest.substr(dot + 1);
    const std::size_t dash = tag.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash + 1 == tag.size() || tag.size() > 24 ||
        tag.find_first_not_of("0123456789-") != std::string_view::npos || tag.find('-', dash + 1) != std::string_view::npos) {
        return 0;
    }
    if (names.count(std::string(rest.substr(0, dot))) == 0) return 0;
    return static_cast<pid_t>(std::strtol(std::string(tag.substr(0, dash)).c_str(), nullptr, 10));
}

bool Running(pid_t pid) { return pid == ::getpid() || ::kill(pid, 0) == 0 || errno == EPERM; }

}  // namespace

int RemoveLeftovers(const std::map<std::string, std::set<std::string>>& namesByFolder) {
    int removed = 0;
    for (const auto& [folder, names] : namesByFolder) {
        DIR* entries = ::opendir(folder.c_str());
        if (entries == nullptr) continue;
        std::vector<std::string> stale;
        while (const dirent* entry = ::readdir(entries)) {
            const pid_t pid = LeftoverOf(entry->d_name, names);
            if (pid > 0 && !Running(pid)) stale.emplace_back(entry->d_name);
        }
        for (const std::string& name : stale) {
            if (::unlinkat(::dirfd(entries), name.c_str(), 0) == 0) ++removed;
        }
        ::closedir(entries);
    }
    return removed;
}

std::optional<OnExists> OnExistsNamed(std::string_view name) {
    if (name == "unique") return OnExists::Unique;
    if (name == "skip") return OnExists::Skip;
    if (name == "overwrite") return OnExists::Overwrite;
    return std::nullopt;
}

OutputFormat FormatFor(const std::optional<imageio::PictureKind>& kind, const std::string& source) {
    if (kind) {
        const imageio::PictureKindInfo& info = imageio::KindInfo(*kind);
        if (info.encoder) return {*info.encoder, std::string(info.suffix).substr(1)};
    }
    const std::string extension = imageio::ExtensionPart(source);
    if (!kind) {
        for (unsigned use : {imageio::kSaveKeeps, imageio::kOpenMask}) {
            const auto own = imageio::KindFor(extension, use);
            if (own && imageio::KindInfo(*own).encoder) return {*imageio::KindInfo(*own).encoder, extension};
        }
    }
    return {imageio::kEncoderJpeg, "jpg"};
}

std::string SafeFileName(std::string name) {
    for (char& c : name) {
        if (c == '/') c = '_';
    }
    if (name.empty() || name == "." || name == "..") return {};
    return name;
}

bool NameTaken(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 || errno != ENOENT;
}

PendingOutput::PendingOutput(std::string folder, std::string name) : folder_(std::move(folder)), name_(std::move(name)) {}

PendingOutput::~PendingOutput() {
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    imageio::ForgetTemporary(signalSlot_);
}

bool PendingOutput::Create(std::string& problem) {
    static std::atomic<unsigned> serial{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string path = folder_ + "/." + name_ + "." + std::to_string(::getpid()) + "-" +
                                 std::to_string(serial.fetch_add(1)) + ".part";
        // O_EXCL with O_CREAT refuses any name that exists, a symbolic link included.
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            temporary_ = path;
            signalSlot_ = imageio::RememberTemporary(path);
            return true;
        }
        if (errno != EEXIST) {
            problem = std::string("cannot write in ") + folder_ + ": " + std::strerror(errno);
            return false;
        }
    }
    problem = "cannot find a free temporary name in " + folder_;
    return false;
}

PendingOutput::Result PendingOutput::Commit(OnExists onExists, const ReadFiles& reads) {
    Result result;
    const std::string wanted = folder_ + "/" + name_;
    result.path = wanted;
    if (onExists == OnExists::Overwrite) {
        result.problem = reads.Refusal(wanted);
        if (!result.problem.empty()) {
            result.placed = Placed::Refused;
            return result;
        }
        // rename replaces the name itself: a link there is replaced, never written through.
        if (std::rename(temporary_.c_str(), wanted.c_str()) != 0) {
            result.problem = "cannot be written: " + std::string(std::strerror(errno));
            return result;
        }
    } else {
        bool placed = RenameNew(temporary_, wanted);
        if (!placed && errno == EEXIST && onExists == OnExists::Skip) {
            result.placed = Placed::Skipped;
            result.problem = wanted + " exists";
            return result;
        }
        const std::string stem = Stem(name_), suffix = Suffix(name_);
        for (int n = 1; !placed && errno == EEXIST && n <= kMostUniqueTries; ++n) {
            result.path = folder_ + "/" + stem + "-" + std::to_string(n) + suffix;
            placed = RenameNew(temporary_, result.path);
        }
        if (!placed) {
            result.problem = "cannot be written: " + std::string(std::strerror(errno));
            return result;
        }
    }
    temporary_.clear();
    imageio::ForgetTemporary(signalSlot_);
    signalSlot_ = -1;
    result.placed = Placed::Written;
    return result;
}

}  // namespace velinor::stamping
