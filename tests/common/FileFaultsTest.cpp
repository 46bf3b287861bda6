// SPDX-License-Identifier: MIT
// Writing a file fails at every step the system can fail at, and whatever fails, the files that
// existed are whole, the failure is told, and no temporary file is left behind.
#include "carriers/SbaDb.h"
#include "common/FileIo.h"
#include "editor/RecordTable.h"
#include "nations/MissionDb.h"
#include "objects/ObjectRecord.h"
#include "merge/DatabaseMerge.h"
#include "merge/MergeDatabases.h"
#include "set/DatabaseSet.h"

#include "support/FailingFileCalls.h"
#include "support/RecordBytes.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <algorithm>
#include <sstream>
#include <sys/stat.h>

namespace keel {
namespace {

using test::FailingFileCalls;
using test::TemporaryDirectory;
using test::WriteStep;
namespace fs = std::filesystem;

ByteVector contentOf(const fs::path& path) { return readWholeFile(path).bytes; }

void put(const fs::path& path, const ByteVector& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Every file of the directory, by name.
std::vector<std::string> namesIn(const fs::path& directory) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(directory)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

ByteVector bytesOf(std::size_t size, Byte fill) { return ByteVector(size, fill); }

TEST(WriteFaults, AReplacedFileIsOldOrNewWholeWhateverStepFails) {
    for (const WriteStep step : test::everyWriteStep()) {
        SCOPED_TRACE(test::nameOf(step));
        TemporaryDirectory directory;
        const fs::path target = directory.path() / "objects.odb";
        const ByteVector old = bytesOf(3000, 0x11);
        const ByteVector replacement = bytesOf(9000, 0x22);
        put(target, old);
        ::chmod(target.c_str(), 0640);

        WriteResult result;
        {
            FailingFileCalls failing(step);
            result = replaceFileAtomically(target, replacement);
            ASSERT_TRUE(failing.failed());
        }
        EXPECT_FALSE(result.ok());
        EXPECT_FALSE(result.reason.empty());
        // Only a failed flush of the directory comes after the rename: the new content is in
        // place, and the failure is told all the same.
        EXPECT_EQ(contentOf(target), step == WriteStep::SyncDirectory ? replacement : old);
        EXPECT_EQ(result.status, step == WriteStep::MakeTemporary ? WriteStatus::CannotCreate
                                                                   : WriteStatus::WriteFailed);
        EXPECT_EQ(namesIn(directory.path()), std::vector<std::string>{"objects.odb"});
        struct stat info {};
        ASSERT_EQ(::stat(target.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0640u);
    }
}

TEST(WriteFaults, ANewFileIsThereWholeOrNotAtAll) {
    for (const WriteStep step : test::everyWriteStep()) {
        SCOPED_TRACE(test::nameOf(step));
        TemporaryDirectory directory;
        const fs::path target = directory.path() / "all.odb";
        WriteResult result;
        {
            FailingFileCalls failing(step);
            result = replaceFileAtomically(target, bytesOf(5000, 0x33));
        }
        EXPECT_FALSE(result.ok());
        if (step == WriteStep::SyncDirectory) {
            EXPECT_EQ(contentOf(target), bytesOf(5000, 0x33));
        } else {
            EXPECT_TRUE(namesIn(directory.path()).empty());
        }
    }
}

// The set is saved file by file: a failure stops the save at the file it names, the files
// written before it hold the new content, those after it the old, and none is damaged.
TEST(WriteFaults, ASaveStopsWholeAtTheFileThatFailed) {
    for (const WriteStep step : test::everyWriteStep()) {
        SCOPED_TRACE(test::nameOf(step));
        TemporaryDirectory directory;
        for (DatabaseFile file : loadOrder) {
            put(directory.path() / fileName(file), {});
        }
        DatabaseSet::LoadResult loaded = DatabaseSet::load(directory.path());
        ASSERT_FALSE(loaded.failedFile);
        DatabaseSet& set = loaded.set;
        set.buffer(DatabaseFile::Objects) = test::objectRecord("Frigate", 2);
        set.buffer(DatabaseFile::ThreeDObjects) = bytesOf(956, 0x44);
        set.buffer(DatabaseFile::Launchers) = bytesOf(196, 0x55);

        DatabaseSet::SaveResult saved;
        {
            // Objects, carriers and nations are written first; the 3D objects' write fails.
            FailingFileCalls failing(step, step == WriteStep::WritePartWay || step == WriteStep::DiskFull ? 1 : 4);
            saved = set.save(directory.path());
            ASSERT_TRUE(failing.failed());
        }
        ASSERT_FALSE(saved.ok());
        const fs::path failedPath = directory.path() / fileName(saved.written.size() < saveOrder.size()
                                                                     ? saveOrder[saved.written.size()]
                                                                     : saveOrder.back());
        EXPECT_EQ(*saved.error, step == WriteStep::MakeTemporary ? "Cannot create file " + failedPath.string()
                                                                 : std::string("Stream write error"));
        for (std::size_t i = 0; i < saveOrder.size(); ++i) {
            const fs::path path = directory.path() / fileName(saveOrder[i]);
            const bool written = i < saved.written.size() ||
                                 (step == WriteStep::SyncDirectory && i == saved.written.size());
            EXPECT_EQ(contentOf(path), written ? set.buffer(saveOrder[i]) : ByteVector{}) << path;
        }
        EXPECT_EQ(namesIn(directory.path()).size(), loadOrder.size());
    }
}

// Export appends a record to an exchange file, and the nation and carrier editors a block:
// each replaces the file whole, so a failure leaves it as it was and says so.
TEST(WriteFaults, AnExportThatFailsLeavesTheExchangeFileAsItWas) {
    for (const WriteStep step : test::everyWriteStep()) {
        SCOPED_TRACE(test::nameOf(step));
        TemporaryDirectory directory;
        RecordTable table(ObjectRecord::Size, ObjectRecord::ObjectName);
        table.assign(test::objectRecord("Frigate", 2));
        const fs::path records = directory.path() / "all.odb";
        const ByteVector earlier = test::objectRecord("Sub", 1);
        put(records, earlier);
        const fs::path nations = directory.path() / "all.mdb";
        const ByteVector noNations = writeMissionDatabase({});
        put(nations, noNations);
        const fs::path carriers = directory.path() / "all.sdb";
        const ByteVector noCarriers = writeCarrierDatabase({});
        put(carriers, noCarriers);

        std::string recordError;
        std::string nationError;
        std::string carrierError;
        {
            FailingFileCalls failing(step);
            recordError = table.appendToExchangeFile(0, records).error;
        }
        {
            FailingFileCalls failing(step);
            nationError = appendNationToExchangeFile(nations, newNation()).error;
        }
        {
            FailingFileCalls failing(step);
            carrierError = appendCarrierToExchangeFile(carriers, newCarrier()).error;
        }
        // A file that could not be begun cannot be created; one that failed on the way was
        // not written whole.
        auto expected = [&](const fs::path& file) {
            return step == WriteStep::MakeTemporary ? "Cannot create file " + file.string()
                                                    : std::string("Stream write error");
        };
        EXPECT_EQ(recordError, expected(records));
        EXPECT_EQ(nationError, expected(nations));
        EXPECT_EQ(carrierError, expected(carriers));
        if (step != WriteStep::SyncDirectory) {
            EXPECT_EQ(contentOf(records), earlier);
            EXPECT_EQ(contentOf(nations), noNations);
            EXPECT_EQ(contentOf(carriers), noCarriers);
        }
        EXPECT_EQ(namesIn(directory.path()), (std::vector<std::string>{"all.mdb", "all.odb", "all.sdb"}));
    }
}

// keelmerge's master is written as the last step of a merge: a failure leaves it as it was,
// is told on the error stream, and the merge says it failed.
TEST(WriteFaults, AMergeThatCannotWriteItsMasterLeavesItAsItWas) {
    const MergeDatabase& objects = mergeDatabases()[1];
    for (const WriteStep step : test::everyWriteStep()) {
        SCOPED_TRACE(test::nameOf(step));
        TemporaryDirectory directory;
        const ByteVector master = test::concatenated({test::objectRecord("Frigate", 2), test::objectRecord("Sub", 1)});
        put(directory.path() / objects.masterName, master);
        put(directory.path() / "new.odb", test::objectRecord("Carrier", 2));
        std::ostringstream out;
        std::ostringstream errors;
        bool merged = true;
        {
            FailingFileCalls failing(step);
            merged = mergeDatabase(objects, directory.path(), out, errors);
            ASSERT_TRUE(failing.failed());
        }
        EXPECT_FALSE(merged);
        EXPECT_FALSE(errors.str().empty());
        if (step != WriteStep::SyncDirectory) {
            EXPECT_EQ(contentOf(directory.path() / objects.masterName), master);
        }
        EXPECT_EQ(namesIn(directory.path()), (std::vector<std::string>{"new.odb", std::string(objects.masterName)}));
    }
}

} // namespace
} // namespace keel
