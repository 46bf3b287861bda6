#include "common/FileIo.h"

#include "support/FileSizeLimit.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace keel {
namespace {

using test::FileSizeLimit;
using test::readFile;
using test::TemporaryDirectory;
using test::writeFile;

std::size_t filesIn(const std::filesystem::path& directory) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(directory),
                                                  std::filesystem::directory_iterator()));
}

mode_t modeOf(const std::filesystem::path& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

TEST(ReadWholeFile, TellsAMissingFileFromOneThatCannotBeRead) {
    TemporaryDirectory directory;
    EXPECT_EQ(readWholeFile(directory / "missing.odb").status, ReadStatus::Missing);

    std::filesystem::create_directory(directory / "folder.odb");
    const ReadResult folder = readWholeFile(directory / "folder.odb");
    EXPECT_EQ(folder.status, ReadStatus::CannotOpen);
    EXPECT_FALSE(folder.reason.empty());

    writeFile(directory / "empty.odb", {});
    const ReadResult empty = readWholeFile(directory / "empty.odb");
    EXPECT_TRUE(empty.ok());
    EXPECT_TRUE(empty.bytes.empty());

    ByteVector large(300000);
    for (std::size_t i = 0; i < large.size(); ++i) {
        large[i] = static_cast<Byte>(i * 7);
    }
    writeFile(directory / "large.3db", large);
    EXPECT_EQ(readWholeFile(directory / "large.3db").bytes, large);
}

TEST(ReplaceFileAtomically, WritesNewFilesAndReplacesOldOnesKeepingTheirMode) {
    TemporaryDirectory directory;
    const ByteVector content{1, 2, 3, 0, 255};
    ASSERT_TRUE(replaceFileAtomically(directory / "new.ldb", content).ok());
    EXPECT_EQ(readFile(directory / "new.ldb"), content);
    EXPECT_EQ(filesIn(directory.path()), 1u) << "no temporary file may be left behind";

    writeFile(directory / "old.ldb", ByteVector(1000, 9));
    ::chmod((directory / "old.ldb").c_str(), 0640);
    ASSERT_TRUE(replaceFileAtomically(directory / "old.ldb", content).ok());
    EXPECT_EQ(readFile(directory / "old.ldb"), content);
    EXPECT_EQ(modeOf(directory / "old.ldb"), 0640u);

    ASSERT_TRUE(replaceFileAtomically(directory / "old.ldb", {}).ok());
    EXPECT_TRUE(readFile(directory / "old.ldb").empty());
}

TEST(ReplaceFileAtomically, ALinkedFileIsReplacedThroughItsLink) {
    TemporaryDirectory directory;
    std::filesystem::create_directory(directory / "data");
    writeFile(directory / "data" / "objects.odb", ByteVector{1});
    std::filesystem::create_symlink(directory / "data" / "objects.odb", directory / "link.odb");

    ASSERT_TRUE(replaceFileAtomically(directory / "link.odb", ByteVector{2, 2}).ok());
    EXPECT_TRUE(std::filesystem::is_symlink(directory / "link.odb"));
    EXPECT_EQ(readFile(directory / "data" / "objects.odb"), (ByteVector{2, 2}));
}

TEST(ReplaceFileAtomically, AFailedWriteLeavesTheOldFileWholeAndNoTemporaryBehind) {
    TemporaryDirectory directory;
    const ByteVector old(100, 7);
    writeFile(directory / "objects.odb", old);

    WriteResult result;
    {
        FileSizeLimit limit(4096);
        result = replaceFileAtomically(directory / "objects.odb", ByteVector(10000, 1));
    }
    EXPECT_EQ(result.status, WriteStatus::WriteFailed);
    EXPECT_FALSE(result.reason.empty());
    EXPECT_EQ(readFile(directory / "objects.odb"), old);
    EXPECT_EQ(filesIn(directory.path()), 1u);
}

TEST(ReplaceFileAtomically, ADirectoryThatIsNotThereCannotBeCreatedIn) {
    TemporaryDirectory directory;
    const WriteResult result = replaceFileAtomically(directory / "absent" / "x.odb", ByteVector{1});
    EXPECT_EQ(result.status, WriteStatus::CannotCreate);
    EXPECT_FALSE(std::filesystem::exists(directory / "absent"));
}

} // namespace
} // namespace keel
