// SPDX-License-Identifier: MIT
// The reader that brings a merge its inputs on a thread of its own.
#include "merge/InputReader.h"

#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace keel {
namespace {

using test::TemporaryDirectory;
using test::writeFile;

ByteVector patterned(std::size_t size, unsigned seed) {
    ByteVector bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<Byte>((i * 131 + seed * 7) >> 2);
    }
    return bytes;
}

// Takes the master as the merge does, checking what comes on the way; returns the bytes seen
// last.
ByteVector awaitWholeMaster(InputReader& reader, std::size_t expected) {
    ByteVector last;
    std::size_t known = 0;
    for (bool more = true; more;) {
        std::size_t seen = 0;
        more = reader.awaitMaster(known, [&](const InputReader::MasterSoFar& master) {
            EXPECT_GE(master.bytes.size(), known);
            if (master.bytes.size() > 0) {
                EXPECT_EQ(master.expected, expected);
                EXPECT_GE(master.room, master.expected);
            }
            last.assign(master.bytes.begin(), master.bytes.end());
            seen = master.bytes.size();
        });
        EXPECT_TRUE(!more || seen > known) << "woken with nothing new";
        known = seen;
    }
    return last;
}

ByteVector bytesOf(const InputReader::Merged& merged) {
    return ByteVector(merged.bytes.data(), merged.bytes.data() + merged.read.size);
}

TEST(InputReader, BringsTheMasterThenEachFileInOrder) {
    TemporaryDirectory directory;
    const ByteVector master = patterned(5 * readPieceSize + 333, 1);
    writeFile(directory / "objects.odb", master);
    std::vector<std::filesystem::path> merged;
    std::vector<ByteVector> contents;
    for (unsigned i = 0; i < 6; ++i) {
        contents.push_back(patterned(1000 * (i + 1) + i, i + 2));
        merged.push_back(directory / ("export" + std::to_string(i) + ".odb"));
        writeFile(merged.back(), contents.back());
    }

    InputReader reader(directory / "objects.odb", 4096, merged);
    EXPECT_EQ(awaitWholeMaster(reader, master.size()), master);
    ASSERT_TRUE(reader.masterRead().ok());
    EXPECT_EQ(reader.masterRead().size, master.size());
    InputReader::Buffer buffer = reader.takeMaster();
    EXPECT_EQ(ByteVector(buffer.begin(), buffer.end()), master);
    EXPECT_GE(buffer.capacity(), master.size() + 4096) << "the room asked for behind it";

    for (std::size_t i = 0; i < merged.size(); ++i) {
        InputReader::Merged next = reader.nextMerged();
        ASSERT_TRUE(next.read.ok()) << next.read.reason;
        EXPECT_EQ(bytesOf(next), contents[i]) << "file " << i;
        reader.giveBack(std::move(next.bytes));
    }
}

TEST(InputReader, AFileThatCannotBeReadComesInItsTurnAsFailed) {
    TemporaryDirectory directory;
    std::filesystem::create_directory(directory / "folder.odb");
    writeFile(directory / "a.odb", patterned(100, 1));
    writeFile(directory / "b.odb", patterned(200, 2));
    InputReader reader(directory / "objects.odb", 0,
                       {directory / "a.odb", directory / "folder.odb", directory / "gone.odb",
                        directory / "b.odb"});

    EXPECT_TRUE(awaitWholeMaster(reader, 0).empty());
    EXPECT_EQ(reader.masterRead().status, ReadStatus::Missing);
    EXPECT_TRUE(reader.takeMaster().empty());

    InputReader::Merged a = reader.nextMerged();
    EXPECT_EQ(bytesOf(a), patterned(100, 1));
    InputReader::Merged folder = reader.nextMerged();
    EXPECT_EQ(folder.read.status, ReadStatus::CannotOpen);
    reader.giveBack(std::move(a.bytes));
    reader.giveBack(std::move(folder.bytes));
    InputReader::Merged gone = reader.nextMerged();
    EXPECT_EQ(gone.read.status, ReadStatus::Missing);
    reader.giveBack(std::move(gone.bytes));
    InputReader::Merged b = reader.nextMerged();
    EXPECT_EQ(bytesOf(b), patterned(200, 2));
}

TEST(InputReader, AMasterThatCannotBeReadIsReportedAndStopsTheReading) {
    TemporaryDirectory directory;
    std::filesystem::create_directory(directory / "objects.odb");
    writeFile(directory / "a.odb", patterned(100, 1));
    InputReader reader(directory / "objects.odb", 0, {directory / "a.odb"});
    awaitWholeMaster(reader, 0);
    EXPECT_EQ(reader.masterRead().status, ReadStatus::CannotOpen);
    EXPECT_FALSE(reader.masterRead().reason.empty());
}

TEST(InputReader, LeftBeforeEverythingIsTakenItStopsReading) {
    TemporaryDirectory directory;
    writeFile(directory / "objects.odb", patterned(3 * readPieceSize, 1));
    std::vector<std::filesystem::path> merged;
    for (int i = 0; i < 5; ++i) {
        merged.push_back(directory / ("export" + std::to_string(i) + ".odb"));
        writeFile(merged.back(), patterned(50000, static_cast<unsigned>(i)));
    }
    {
        InputReader reader(directory / "objects.odb", 0, merged);
        reader.awaitMaster(0, [](const InputReader::MasterSoFar&) {});
    }
    {
        InputReader reader(directory / "objects.odb", 0, merged);
        awaitWholeMaster(reader, 3 * readPieceSize);
        reader.nextMerged(); // not given back: the reader waits for its buffer, until it goes
    }
    SUCCEED();
}

} // namespace
} // namespace keel
