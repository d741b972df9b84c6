// The guard of a run's outputs: no name that is, or resolves to, a file the run reads is written,
// whatever that file holds by then, and no symbolic link is written through.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "imageio/OutputGuard.h"
#include "imageio/Writer.h"
#include "WriteTestSupport.h"

namespace velinor::imageio {
namespace {

using testing::Gradient;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

const std::vector<std::uint8_t> kSource{'s', 'r', 'c'};

TEST(OutputGuard, RefusesEveryNameOfAReadFile) {
    ScratchFolder folder;
    std::filesystem::create_directories(folder.Path() / "pics");
    std::filesystem::create_directories(folder.Path() / "other");
    WriteBytes(folder.File("pics/a.jpg"), kSource);
    WriteBytes(folder.File("other/real.jpg"), kSource);
    std::filesystem::create_symlink("pics", folder.Path() / "linked");          // a folder link
    std::filesystem::create_symlink("../other/real.jpg", folder.Path() / "pics/b.jpg");   // a source link
    std::filesystem::create_hard_link(folder.File("pics/a.jpg"), folder.File("other/hard.jpg"));
    const OutputGuard guard({folder.File("pics/a.jpg"), folder.File("pics/b.jpg")});

    std::size_t which = 9;
    EXPECT_EQ(guard.Check(folder.File("pics/../pics/a.jpg"), &which), OutputRefusal::ReadByRun);
    EXPECT_EQ(which, 0u);
    EXPECT_EQ(guard.Check(folder.File("linked/a.jpg")), OutputRefusal::ReadByRun);
    EXPECT_EQ(guard.Check(folder.File("other/hard.jpg")), OutputRefusal::ReadByRun);
    EXPECT_EQ(guard.Check(folder.File("other/real.jpg"), &which), OutputRefusal::ReadByRun);   // what b.jpg reads
    EXPECT_EQ(which, 1u);
    EXPECT_EQ(guard.Check(folder.File("pics/b.jpg")), OutputRefusal::SymbolicLink);
    EXPECT_EQ(guard.Check(folder.File("pics/c.jpg")), OutputRefusal::None);
    EXPECT_EQ(guard.Check(folder.File("other/a.jpg")), OutputRefusal::None);
}

TEST(OutputGuard, ASourceReplacedUnderItsNameIsStillNeverWritten) {
    ScratchFolder folder;
    WriteBytes(folder.File("a.jpg"), kSource);
    const OutputGuard guard({folder.File("a.jpg")});
    // An editor renames a new file over the source while the run is busy: another file, same name.
    const std::vector<std::uint8_t> edited{'n', 'e', 'w'};
    WriteBytes(folder.File(".a.jpg.edit"), edited);
    ASSERT_EQ(std::rename(folder.File(".a.jpg.edit").c_str(), folder.File("a.jpg").c_str()), 0);

    const render::RasterImage image = Gradient(4, 3);
    EXPECT_EQ(guard.Check(folder.File("a.jpg")), OutputRefusal::ReadByRun);
    EXPECT_EQ(SavePicture(&image, folder.File("a.jpg"), kEncoderJpeg, 7, nullptr, {}, &guard), 0);
    EXPECT_EQ(ReadBytes(folder.File("a.jpg")), edited);
    EXPECT_EQ(folder.Names().size(), 1u);   // no temporary file left
}

TEST(OutputGuard, AGuardedSaveNeverWritesThroughALink) {
    ScratchFolder folder;
    WriteBytes(folder.File("precious"), kSource);
    std::filesystem::create_symlink("precious", folder.Path() / "out.jpg");
    const OutputGuard guard;
    const render::RasterImage image = Gradient(4, 3);
    EXPECT_EQ(SavePicture(&image, folder.File("out.jpg"), kEncoderJpeg, 7, nullptr, {}, &guard), 0);
    EXPECT_EQ(ReadBytes(folder.File("precious")), kSource);
    EXPECT_TRUE(std::filesystem::is_symlink(folder.Path() / "out.jpg"));
    // Without a guard (the window's save) the link is followed, as before.
    EXPECT_EQ(SavePicture(&image, folder.File("out.jpg"), kEncoderJpeg), 1);
    EXPECT_NE(ReadBytes(folder.File("precious")), kSource);
}

}  // namespace
}  // namespace velinor::imageio
