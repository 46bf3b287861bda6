// SPDX-License-Identifier: MIT
#include "common/FileIo.h"

#include "support/AsOrdinaryUser.h"
#include "support/FailingFileCalls.h"
#include "support/FileSizeLimit.h"
#include "support/SparseFile.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fstream>
#include <new>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace keel {
namespace {

using test::FileSizeLimit;
using test::makeFileLargerThanMemory;
using test::makeSparseFile;
using test::readFile;
using test::runInChildWithin;
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

TEST(ReadWholeFile, RoomAskedForBehindTheFileIsThereWhereItFits) {
    TemporaryDirectory directory;
    const ByteVector content(1000, 9);
    writeFile(directory / "objects.odb", content);

    const ReadResult roomy = readWholeFile(directory / "objects.odb", 5000);
    EXPECT_EQ(roomy.bytes, content);
    EXPECT_GE(roomy.bytes.capacity(), 6000u);

    const ReadResult tooMuchAskedFor = readWholeFile(directory / "objects.odb", SIZE_MAX - 100);
    EXPECT_TRUE(tooMuchAskedFor.ok()) << tooMuchAskedFor.reason;
    EXPECT_EQ(tooMuchAskedFor.bytes, content);
}

// A buffer that readWholeFileInto fills, noting each size it was asked for.
struct RoomLog {
    ByteVector bytes;
    std::vector<std::size_t> asked;

    ReadRoom room() {
        return [this](std::size_t size) {
            asked.push_back(size);
            bytes.resize(size);
            return bytes.data();
        };
    }
};

ByteVector patterned(std::size_t size, unsigned seed) {
    ByteVector bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<Byte>((i * 131 + seed) >> 3);
    }
    return bytes;
}

TEST(ReadWholeFileInto, AsksForTheFilesSizeAndReadsItStraightIntoTheRoom) {
    TemporaryDirectory directory;
    const ByteVector content = patterned(300000, 1);
    writeFile(directory / "objects.odb", content);

    RoomLog log;
    const ReadIntoResult read = readWholeFileInto(directory / "objects.odb", log.room());
    ASSERT_TRUE(read.ok()) << read.reason;
    EXPECT_EQ(read.size, content.size());
    EXPECT_EQ(log.asked, std::vector<std::size_t>{content.size()});
    EXPECT_EQ(log.bytes, content);

    RoomLog missing;
    EXPECT_EQ(readWholeFileInto(directory / "missing.odb", missing.room()).status,
              ReadStatus::Missing);
    EXPECT_TRUE(missing.asked.empty());

    writeFile(directory / "empty.odb", {});
    RoomLog empty;
    const ReadIntoResult none = readWholeFileInto(directory / "empty.odb", empty.room());
    EXPECT_TRUE(none.ok());
    EXPECT_EQ(none.size, 0u);
}

TEST(ReadWholeFileInto, TellsItsProgressPieceByPiece) {
    TemporaryDirectory directory;
    const ByteVector content = patterned(3 * readPieceSize + 12345, 2);
    writeFile(directory / "objects.odb", content);

    RoomLog log;
    std::vector<std::size_t> progress;
    const ReadIntoResult read =
        readWholeFileInto(directory / "objects.odb", log.room(), [&](std::size_t bytesRead) {
            // What has been read is in the room already.
            EXPECT_TRUE(std::equal(content.begin(),
                                   content.begin() + static_cast<std::ptrdiff_t>(bytesRead),
                                   log.bytes.begin()));
            progress.push_back(bytesRead);
        });
    ASSERT_TRUE(read.ok()) << read.reason;
    EXPECT_EQ(log.bytes, content);
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), content.size());
    std::size_t before = 0;
    for (const std::size_t bytesRead : progress) {
        EXPECT_GT(bytesRead, before);
        EXPECT_LE(bytesRead - before, readPieceSize);
        before = bytesRead;
    }
}

TEST(ReadWholeFileInto, AFileThatGrowsOrShrinksWhileReadIsReadAsFarAsItGoes) {
    TemporaryDirectory directory;
    const auto path = directory / "objects.odb";
    const ByteVector content = patterned(2 * readPieceSize + 100, 3);
    const ByteVector more = patterned(readPieceSize + 7, 4);

    // Bytes added after the first piece is read are read too; the room grows for them and is
    // cut to what was read at last.
    writeFile(path, content);
    RoomLog grown;
    bool added = false;
    const ReadIntoResult longer = readWholeFileInto(path, grown.room(), [&](std::size_t) {
        if (!std::exchange(added, true)) {
            std::ofstream(path, std::ios::binary | std::ios::app)
                .write(reinterpret_cast<const char*>(more.data()),
                       static_cast<std::streamsize>(more.size()));
        }
    });
    ASSERT_TRUE(longer.ok()) << longer.reason;
    ByteVector both = content;
    both.insert(both.end(), more.begin(), more.end());
    EXPECT_EQ(longer.size, both.size());
    EXPECT_EQ(grown.bytes, both);
    ASSERT_GE(grown.asked.size(), 3u);
    EXPECT_EQ(grown.asked.front(), content.size());
    EXPECT_GT(grown.asked[1], content.size());
    EXPECT_EQ(grown.asked.back(), both.size());

    // A file cut short after the first piece ends where it was cut.
    writeFile(path, content);
    RoomLog shrunk;
    bool cut = false;
    const ReadIntoResult shorter = readWholeFileInto(path, shrunk.room(), [&](std::size_t read) {
        if (!std::exchange(cut, true)) {
            std::filesystem::resize_file(path, read);
        }
    });
    ASSERT_TRUE(shorter.ok()) << shorter.reason;
    EXPECT_EQ(shorter.size, readPieceSize);
    EXPECT_EQ(shrunk.asked, (std::vector<std::size_t>{content.size(), readPieceSize}));
    EXPECT_TRUE(std::equal(shrunk.bytes.begin(), shrunk.bytes.end(), content.begin()));
}

TEST(ReadWholeFileInto, NoMemoryForTheRoomFailsTheRead) {
    TemporaryDirectory directory;
    writeFile(directory / "objects.odb", patterned(1000, 5));
    const ReadIntoResult read = readWholeFileInto(
        directory / "objects.odb", [](std::size_t) -> Byte* { throw std::bad_alloc(); });
    EXPECT_EQ(read.status, ReadStatus::ReadFailed);
    EXPECT_EQ(read.size, 0u);
    EXPECT_FALSE(read.reason.empty());
}

// What a read in a child process ended with, as its exit code: the status, reasonMissing for
// a failure that gave no reason, or what runInChildWithin gives for a child that hung or
// threw.
constexpr int reasonMissing = 10;
int readStatusOf(const std::filesystem::path& path) {
    const ReadResult result = readWholeFile(path);
    return !result.ok() && result.reason.empty() ? reasonMissing : static_cast<int>(result.status);
}

constexpr int hung = 128 + SIGALRM;
constexpr int threw = test::childThrew; // std::bad_alloc would end the programs

TEST(ReadWholeFile, ANamedPipeIsRefusedAtOnceRatherThanWaitedFor) {
    TemporaryDirectory directory;
    const auto pipe = directory / "pipe.ldb";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);

    const int status = runInChildWithin(5, [&] { return readStatusOf(pipe); });
    EXPECT_NE(status, hung) << "the read waited for a writer";
    EXPECT_EQ(status, static_cast<int>(ReadStatus::CannotOpen));
}

TEST(ReadWholeFile, AFileLargerThanMemoryIsRefusedWithoutReadingIt) {
    TemporaryDirectory directory;
    const auto huge = directory / "huge.ldb";
    if (!makeFileLargerThanMemory(huge)) {
        GTEST_SKIP() << "the temporary directory's file system holds no sparse files";
    }
    // Reading a tebibyte of zeros would take far longer than this.
    const int status = runInChildWithin(5, [&] { return readStatusOf(huge); });
    EXPECT_NE(status, threw) << "running out of memory would end the program";
    EXPECT_NE(status, hung) << "the file was read";
    EXPECT_EQ(status, static_cast<int>(ReadStatus::CannotOpen)) << "refused before it is read";
}

// The virtual memory this process already takes, in bytes.
rlim_t addressSpaceInUse() {
    std::ifstream statm("/proc/self/statm");
    rlim_t pages = 0;
    statm >> pages;
    return pages * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE));
}

TEST(ReadWholeFile, AFileThereIsNoMemoryLeftForFailsTheReadInsteadOfEndingTheProgram) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer ends the program when memory runs out";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    GTEST_SKIP() << "the address sanitizer ends the program when memory runs out";
#endif
#endif
    constexpr rlim_t fileSize = rlim_t{1} << 30;
    if (static_cast<rlim_t>(::sysconf(_SC_PHYS_PAGES)) *
            static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) <
        2 * fileSize) {
        GTEST_SKIP() << "the file must fit in this machine's memory but not in the lowered limit";
    }
    TemporaryDirectory directory;
    const auto large = directory / "large.3db";
    if (!makeSparseFile(large, fileSize)) {
        GTEST_SKIP() << "the temporary directory's file system holds no sparse files";
    }
    const int status = runInChildWithin(30, [&] {
        // The file fits in the machine's memory, but not in what this process may now take.
        rlimit limit{};
        ::getrlimit(RLIMIT_AS, &limit);
        limit.rlim_cur = addressSpaceInUse() + fileSize / 4;
        if (::setrlimit(RLIMIT_AS, &limit) != 0) {
            return 100;
        }
        return readStatusOf(large);
    });
    ASSERT_NE(status, 100) << "the address-space limit could not be lowered";
    EXPECT_NE(status, threw) << "running out of memory would end the program";
    EXPECT_EQ(status, static_cast<int>(ReadStatus::ReadFailed));
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

TEST(ReplaceFileAtomically, ContentHandedOverInPiecesIsWrittenWholeOrNotAtAll) {
    TemporaryDirectory directory;
    const std::filesystem::path path = directory / "objects.odb";
    writeFile(path, ByteVector(100, 7));

    // An empty piece, and one larger than what is handed to the disk at a time, among them.
    std::vector<ByteVector> pieces;
    ByteVector whole;
    for (const std::size_t size :
         {std::size_t{0}, std::size_t{1}, std::size_t{284}, std::size_t{9} << 20, std::size_t{3}}) {
        ByteVector piece(size);
        for (std::size_t i = 0; i < size; ++i) {
            piece[i] = static_cast<Byte>(whole.size() + i * 31);
        }
        whole.insert(whole.end(), piece.begin(), piece.end());
        pieces.push_back(std::move(piece));
    }
    ASSERT_TRUE(replaceFileAtomicallyFrom(path, [&](const ContentSink& write) {
                    return std::all_of(pieces.begin(), pieces.end(), write);
                }).ok());
    EXPECT_EQ(readFile(path), whole);

    // A source that gives up part-way fails the write.
    const WriteResult abandoned = replaceFileAtomicallyFrom(
        path, [&](const ContentSink& write) { return write(ByteVector(10, 1)) && false; });
    EXPECT_EQ(abandoned.status, WriteStatus::WriteFailed);
    EXPECT_FALSE(abandoned.reason.empty());

    // A sink that fails is asked for nothing more, and says why it failed.
    int asked = 0;
    WriteResult tooLarge;
    {
        FileSizeLimit limit(4096);
        tooLarge = replaceFileAtomicallyFrom(path, [&](const ContentSink& write) {
            for (int i = 0; i < 10; ++i) {
                ++asked;
                if (!write(ByteVector(1000, 2))) {
                    return false;
                }
            }
            return true;
        });
    }
    EXPECT_EQ(tooLarge.status, WriteStatus::WriteFailed);
    EXPECT_EQ(tooLarge.reason, std::strerror(EFBIG));
    EXPECT_EQ(asked, 5);

    EXPECT_EQ(readFile(path), whole) << "failed writes leave the file as it was";
    EXPECT_EQ(filesIn(directory.path()), 1u) << "and no temporary file behind";
}

TEST(ReplaceFileAtomically, ADirectoryThatIsNotThereCannotBeCreatedIn) {
    TemporaryDirectory directory;
    const WriteResult result = replaceFileAtomically(directory / "absent" / "x.odb", ByteVector{1});
    EXPECT_EQ(result.status, WriteStatus::CannotCreate);
    EXPECT_FALSE(std::filesystem::exists(directory / "absent"));
}

TEST(ReplaceFileAtomically, WhatIsNotARegularFileIsNotWrittenOver) {
    TemporaryDirectory directory;
    std::filesystem::create_directory(directory / "objects.odb");
    writeFile(directory / "objects.odb" / "inside", ByteVector{4});
    ASSERT_EQ(::mkfifo((directory / "launcher.ldb").c_str(), 0644), 0);

    for (const char* name : {"objects.odb", "launcher.ldb"}) {
        const WriteResult result = replaceFileAtomically(directory / name, ByteVector{1, 2});
        EXPECT_EQ(result.status, WriteStatus::CannotCreate) << name;
        EXPECT_FALSE(result.reason.empty()) << name;
    }
    EXPECT_TRUE(std::filesystem::is_directory(directory / "objects.odb"));
    EXPECT_EQ(readFile(directory / "objects.odb" / "inside"), ByteVector{4});
    EXPECT_TRUE(std::filesystem::is_fifo(directory / "launcher.ldb"));
    EXPECT_EQ(filesIn(directory.path()), 2u) << "no temporary file may be left behind";
}

// Root may write whatever the permission bits say; these writes are made as a user who may
// not.
class ReplaceFileAtomicallyAsAnOrdinaryUser : public ::testing::Test {
protected:
    void SetUp() override {
        if (test::runAsOrdinaryUser([] { return 0; }) == test::couldNotBecomeOrdinaryUser) {
            GTEST_SKIP() << "this process cannot give up root for an ordinary user";
        }
    }

    // Lets the ordinary user into the directory, and write there or not.
    void letIn(mode_t mode) {
        ASSERT_EQ(::chmod(directory.path().c_str(), mode), 0);
        ASSERT_EQ(test::runAsOrdinaryUser([&] { return ::access(directory.path().c_str(), X_OK); }),
                  0)
            << "an ordinary user cannot reach " << directory.path()
            << "; let TMPDIR name a directory open to all";
    }

    // What the write ended with: its status, or reasonMissing for a failure that gave no
    // reason.
    int write(const std::string& name, const ByteVector& bytes) {
        return test::runAsOrdinaryUser([&] {
            const WriteResult result = replaceFileAtomically(directory / name, bytes);
            return !result.ok() && result.reason.empty() ? reasonMissing
                                                         : static_cast<int>(result.status);
        });
    }
    static constexpr int ok = static_cast<int>(WriteStatus::Ok);
    static constexpr int cannotCreate = static_cast<int>(WriteStatus::CannotCreate);

    TemporaryDirectory directory;
};

TEST_F(ReplaceFileAtomicallyAsAnOrdinaryUser, AFileTheyMayNotWriteIsLeftAloneInADirectoryTheyMay) {
    const ByteVector old(300, 3);
    writeFile(directory / "launcher.ldb", old);
    ASSERT_EQ(::chmod((directory / "launcher.ldb").c_str(), 0444), 0);
    letIn(0777);

    EXPECT_EQ(write("launcher.ldb", ByteVector(10, 1)), cannotCreate);
    EXPECT_EQ(readFile(directory / "launcher.ldb"), old);
    EXPECT_EQ(modeOf(directory / "launcher.ldb"), 0444u);
    EXPECT_EQ(filesIn(directory.path()), 1u) << "no temporary file may be left behind";
}

TEST_F(ReplaceFileAtomicallyAsAnOrdinaryUser,
       AFileTheyMayWriteInADirectoryTheyMayNotIsWrittenInPlace) {
    writeFile(directory / "objects.odb", ByteVector(1000, 7));
    ASSERT_EQ(::chmod((directory / "objects.odb").c_str(), 0666), 0);
    letIn(0555);

    ByteVector longer(5000);
    for (std::size_t i = 0; i < longer.size(); ++i) {
        longer[i] = static_cast<Byte>(i * 13);
    }
    EXPECT_EQ(write("objects.odb", longer), ok);
    EXPECT_EQ(readFile(directory / "objects.odb"), longer);

    const ByteVector shorter{9, 8, 7};
    EXPECT_EQ(write("objects.odb", shorter), ok);
    EXPECT_EQ(readFile(directory / "objects.odb"), shorter) << "what was beyond it is cut off";
    EXPECT_EQ(modeOf(directory / "objects.odb"), 0666u);
    EXPECT_EQ(filesIn(directory.path()), 1u);
}

TEST_F(ReplaceFileAtomicallyAsAnOrdinaryUser,
       AFailureWritingInPlaceIsToldAndGivesTheFileBackWhatItHeld) {
    ByteVector earlier(1000);
    for (std::size_t i = 0; i < earlier.size(); ++i) {
        earlier[i] = static_cast<Byte>(i * 7);
    }
    writeFile(directory / "objects.odb", earlier);
    ASSERT_EQ(::chmod((directory / "objects.odb").c_str(), 0666), 0);
    letIn(0555);
    constexpr int stepNotReached = 120;

    for (const std::size_t replacementSize : {300u, 5000u}) {
        for (const test::WriteStep step :
             {test::WriteStep::WritePartWay, test::WriteStep::DiskFull,
              test::WriteStep::CutToLength, test::WriteStep::SyncFile, test::WriteStep::Close}) {
            SCOPED_TRACE(test::nameOf(step) + ", " + std::to_string(replacementSize) +
                         " bytes over 1000");
            writeFile(directory / "objects.odb", earlier);
            const int outcome = test::runAsOrdinaryUser([&] {
                const test::FailingFileCalls failing(step);
                const WriteResult result = replaceFileAtomically(directory / "objects.odb",
                                                                 ByteVector(replacementSize, 2));
                if (!failing.failed()) {
                    return stepNotReached;
                }
                return !result.ok() && result.reason.empty() ? reasonMissing
                                                             : static_cast<int>(result.status);
            });
            EXPECT_EQ(outcome, static_cast<int>(WriteStatus::WriteFailed));
            EXPECT_EQ(filesIn(directory.path()), 1u);
            // Until the file is closed it can still be given back what it held.
            if (step != test::WriteStep::Close) {
                EXPECT_EQ(readFile(directory / "objects.odb"), earlier);
            }
        }
    }
}

TEST_F(ReplaceFileAtomicallyAsAnOrdinaryUser, InADirectoryTheyMayNotWriteNothingElseIsWritten) {
    const ByteVector old(50, 5);
    writeFile(directory / "readonly.3db", old);
    ASSERT_EQ(::chmod((directory / "readonly.3db").c_str(), 0444), 0);
    letIn(0555);

    EXPECT_EQ(write("new.3db", ByteVector{1}), cannotCreate);
    EXPECT_FALSE(std::filesystem::exists(directory / "new.3db"));
    EXPECT_EQ(write("readonly.3db", ByteVector{1}), cannotCreate);
    EXPECT_EQ(readFile(directory / "readonly.3db"), old);
    EXPECT_EQ(filesIn(directory.path()), 1u);
}

} // namespace
} // namespace keel
