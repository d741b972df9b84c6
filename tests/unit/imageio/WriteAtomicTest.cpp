#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "imageio/AtomicFile.h"
#include "imageio/Loader.h"
#include "imageio/Writer.h"
#include "WriteTestSupport.h"

namespace velinor::imageio {
namespace {

using testing::Gradient;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

constexpr std::uint32_t kAllEncoders[] = {kEncoderBmp, kEncoderJpeg, kEncoderPng};

// Makes every write past `limit` bytes of one file fail, as a full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = limit;
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

TEST(WriteAtomic, FailedWriteKeepsTheExistingFileAndLeavesNoTemporary) {
    ScratchFolder folder;
    const std::string path = folder.File("keep.pic");
    const std::vector<std::uint8_t> old(100, 0x5A);
    const render::RasterImage big = Gradient(300, 300);
    for (std::uint32_t encoder : kAllEncoders) {
        WriteBytes(path, old);
        {
            FileSizeLimit limit(2000);
            EXPECT_EQ(SavePicture(&big, path, encoder), 0) << encoder;
        }
        EXPECT_EQ(ReadBytes(path), old) << encoder;
        EXPECT_EQ(folder.Names(), std::vector<std::string>{"keep.pic"}) << encoder;
    }
}

TEST(WriteAtomic, FailedWriteOfANewFileLeavesNothing) {
    ScratchFolder folder;
    const render::RasterImage big = Gradient(300, 300);
    FileSizeLimit limit(2000);
    for (std::uint32_t encoder : kAllEncoders) EXPECT_EQ(SavePicture(&big, folder.File("new.pic"), encoder), 0);
    EXPECT_TRUE(folder.Names().empty());
}

TEST(WriteAtomic, SuccessfulWriteReplacesTheFileWithUsualPermissions) {
    ScratchFolder folder;
    const std::string path = folder.File("over.bmp");
    WriteBytes(path, std::vector<std::uint8_t>(5000, 1));
    const mode_t oldMask = ::umask(022);
    const render::RasterImage image = Gradient(1, 1);
    const int result = SavePicture(&image, path, kEncoderBmp);
    ::umask(oldMask);
    ASSERT_EQ(result, 1);
    EXPECT_EQ(ReadBytes(path).size(), 58u);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"over.bmp"});
}

TEST(WriteAtomic, SavingOverALinkUpdatesTheLinkedFile) {
    ScratchFolder folder;
    std::filesystem::create_directory(folder.Path() / "real");
    WriteBytes(folder.File("real/picture.bmp"), {1, 2, 3});
    std::filesystem::create_symlink("real/picture.bmp", folder.Path() / "link.bmp");
    const render::RasterImage image = Gradient(1, 1);
    ASSERT_EQ(SavePicture(&image, folder.File("link.bmp"), kEncoderBmp), 1);
    EXPECT_TRUE(std::filesystem::is_symlink(folder.Path() / "link.bmp"));
    EXPECT_EQ(ReadBytes(folder.File("real/picture.bmp")).size(), 58u);
    EXPECT_EQ(folder.Names().size(), 2u);
}

TEST(WriteAtomic, WriteProtectedFileIsLeftAlone) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may write any file";
    ScratchFolder folder;
    const std::string path = folder.File("locked.bmp");
    WriteBytes(path, {7, 7, 7});
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    const render::RasterImage image = Gradient(1, 1);
    EXPECT_EQ(SavePicture(&image, path, kEncoderBmp), 0);
    EXPECT_EQ(ReadBytes(path), (std::vector<std::uint8_t>{7, 7, 7}));
}

TEST(WriteAtomic, UnwritableDestinationsFailCleanly) {
    ScratchFolder folder;
    const render::RasterImage image = Gradient(2, 2);
    std::filesystem::create_directory(folder.Path() / "sub");
    EXPECT_EQ(SavePicture(&image, folder.File("sub"), kEncoderPng), 0);  // a folder of that name
    EXPECT_EQ(SavePicture(&image, folder.File("sub/"), kEncoderPng), 0);
    EXPECT_EQ(SavePicture(&image, folder.File("absent/x.bmp"), kEncoderBmp), 0);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"sub"});
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path() / "sub"));
}

TEST(WriteAtomic, RelativePathWritesIntoTheCurrentFolder) {
    ScratchFolder folder;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    const render::RasterImage image = Gradient(3, 1);
    const int result = SavePicture(&image, "~~temp", kEncoderBmp);
    std::filesystem::current_path(previous);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"~~temp"});
}

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode : 0;
}

// A private picture stays private, and a shared one stays shared, whatever the umask says.
TEST(WriteAtomic, ReplacedFilesKeepTheirPermissionsAndOwner) {
    ScratchFolder folder;
    const render::RasterImage image = Gradient(4, 4);
    for (mode_t mode : {mode_t{0600}, mode_t{0640}, mode_t{0664}}) {
        const std::string path = folder.File("mode.png");
        WriteBytes(path, {1, 2, 3});
        ::chmod(path.c_str(), mode);
        ASSERT_EQ(SavePicture(&image, path, kEncoderPng), 1);
        EXPECT_EQ(ModeOf(path) & 07777, mode);
        EXPECT_GT(ReadBytes(path).size(), 3u);
    }
    if (::geteuid() != 0) return;
    // Root saving someone else's picture leaves it theirs.
    const std::string path = folder.File("theirs.bmp");
    WriteBytes(path, {1});
    ASSERT_EQ(::chown(path.c_str(), 4321, 4322), 0);
    ASSERT_EQ(SavePicture(&image, path, kEncoderBmp), 1);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 4321u);
    EXPECT_EQ(info.st_gid, 4322u);
}

// A device is written through and stays a device; a FIFO is refused at once (writing would wait
// for a reader) and stays a FIFO. None of them is ever replaced by a regular file.
TEST(WriteAtomic, NonRegularDestinationsAreNeverReplaced) {
    ScratchFolder folder;
    const render::RasterImage image = Gradient(8, 8);
    const std::string fifo = folder.File("pipe.png");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (std::uint32_t encoder : kAllEncoders) {
        EXPECT_EQ(SavePicture(&image, fifo, encoder), 0);
        EXPECT_TRUE(S_ISFIFO(ModeOf(fifo)));
    }
    if (::geteuid() == 0) {
        // Copies of /dev/null and /dev/full, so that a fault here replaces nothing of the system's.
        const std::string null = folder.File("null");
        const std::string full = folder.File("full");
        ASSERT_EQ(::mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
        ASSERT_EQ(::mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)), 0);
        for (std::uint32_t encoder : kAllEncoders) {
            EXPECT_EQ(SavePicture(&image, null, encoder), 1) << encoder;
            EXPECT_EQ(SavePicture(&image, full, encoder), 0) << encoder;   // the write fails: no space
            EXPECT_TRUE(S_ISCHR(ModeOf(null)));
            EXPECT_TRUE(S_ISCHR(ModeOf(full)));
        }
        // Through a link as well: the link stays and so does the device.
        std::filesystem::create_symlink(full, folder.Path() / "Settings.ini");
        EXPECT_EQ(SavePicture(&image, folder.File("Settings.ini"), kEncoderBmp), 0);
        EXPECT_TRUE(S_ISLNK(ModeOf(folder.File("Settings.ini"))));
        EXPECT_TRUE(S_ISCHR(ModeOf(full)));
    } else {
        EXPECT_EQ(SavePicture(&image, "/dev/null", kEncoderPng), 1);
        EXPECT_TRUE(S_ISCHR(ModeOf("/dev/null")));
    }
    std::vector<std::string> names = folder.Names();
    std::sort(names.begin(), names.end());
    const std::vector<std::string> expected = ::geteuid() == 0
        ? std::vector<std::string>{"Settings.ini", "full", "null", "pipe.png"} : std::vector<std::string>{"pipe.png"};
    EXPECT_EQ(names, expected);
}

// A save ended by SIGTERM or SIGINT half-way leaves no temporary file beside the destination
// and the old file as it was; the process still ends by that signal.
TEST(WriteAtomic, InterruptedSaveLeavesNoTemporaryFile) {
    for (int signal : {SIGTERM, SIGINT}) {
        ScratchFolder folder;
        const std::string path = folder.File("photo.jpg");
        WriteBytes(path, {9, 9, 9});
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            AtomicFile file(path);
            if (!file.IsOpen()) std::_Exit(2);
            std::fputs("half of a picture", file.Stream());
            std::fflush(file.Stream());
            ::kill(::getpid(), signal);
            std::_Exit(3);   // not reached when the signal ends the process
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_EQ(folder.Names(), std::vector<std::string>{"photo.jpg"}) << signal;
        EXPECT_EQ(ReadBytes(path), (std::vector<std::uint8_t>{9, 9, 9}));
    }
}

// Reading a FIFO would wait for a writer for ever; only regular files are read.
TEST(ReadPicture, OnlyRegularFilesAreRead) {
    ScratchFolder folder;
    const std::string fifo = folder.File("pipe.bmp");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    render::ImageRegistry images;
    EXPECT_EQ(LoadPicture(images, 1, fifo), nullptr);
    EXPECT_EQ(LoadPicture(images, 1, folder.Path().string()), nullptr);
    const render::RasterImage image = Gradient(2, 3);
    ASSERT_EQ(SavePicture(&image, folder.File("ok.bmp"), kEncoderBmp), 1);
    EXPECT_NE(LoadPicture(images, 1, folder.File("ok.bmp")), nullptr);
}

TEST(FileExistsInFolder, MatchesFilesAndFoldersExactly) {
    ScratchFolder folder;
    WriteBytes(folder.File("photo.jpg"), {1});
    std::filesystem::create_directory(folder.Path() / "Album");
    const std::string dir = folder.Path().string();
    EXPECT_EQ(FileExistsInFolder("photo.jpg", dir), 1);
    EXPECT_EQ(FileExistsInFolder("photo.jpg", dir + "/"), 1);
    EXPECT_EQ(FileExistsInFolder("Photo.jpg", dir), 0);
    EXPECT_EQ(FileExistsInFolder("photo", dir), 0);
    EXPECT_EQ(FileExistsInFolder("Album", dir), 1);
    EXPECT_EQ(FileExistsInFolder("photo.jpg", ""), 0);
    EXPECT_EQ(FileExistsInFolder("photo.jpg", dir + "/missing"), 0);
    EXPECT_EQ(FileExistsInFolder("photo.jpg", folder.File("photo.jpg")), 0);  // a file, not a folder
}

}  // namespace
}  // namespace velinor::imageio
