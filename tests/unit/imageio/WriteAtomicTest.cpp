#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>

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
