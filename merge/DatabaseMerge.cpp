// SPDX-License-Identifier: MIT
#include "merge/DatabaseMerge.h"

#include "common/FileIo.h"
#include "common/FileNameCase.h"
#include "merge/InputReader.h"
#include "merge/MergeTable.h"

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace keel {
namespace {

namespace fs = std::filesystem;

// Gathers progress lines and hands them to the stream many at a time, since a merge may print
// a line for every one of hundreds of thousands of records. What is gathered goes out when the
// lines are flushed or go out of scope.
class ProgressLines {
public:
    explicit ProgressLines(std::ostream& out) : out_(out) { lines_.reserve(batch + 64); }
    ProgressLines(const ProgressLines&) = delete;
    ProgressLines& operator=(const ProgressLines&) = delete;
    ~ProgressLines() { flush(); }

    void write(std::string_view prefix, ConstByteSpan name) {
        lines_.append(prefix);
        lines_.append(reinterpret_cast<const char*>(name.data()), name.size());
        lines_.push_back('\n');
        if (lines_.size() >= batch) {
            flush();
        }
    }
    void flush() {
        if (!lines_.empty()) {
            out_.write(lines_.data(), static_cast<std::streamsize>(lines_.size()));
            lines_.clear();
        }
    }

private:
    static constexpr std::size_t batch = 64 * 1024;

    std::ostream& out_;
    std::string lines_;
};

// Gives memory back to the system on a thread of its own, so that the few milliseconds that
// takes pass while the new master is flushed and renamed into place, which mostly waits on the
// disk. Waits for it when it goes.
class BackgroundRelease {
public:
    BackgroundRelease() = default;
    BackgroundRelease(const BackgroundRelease&) = delete;
    BackgroundRelease& operator=(const BackgroundRelease&) = delete;
    ~BackgroundRelease() {
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    template <typename... Things> void release(Things&&... things) {
        auto owner = [... owned = std::move(things)]() {};
        try {
            thread_ = std::thread(std::move(owner));
        } catch (const std::system_error&) {
            // No thread to be had: the memory goes with `owner`, here.
        }
    }

private:
    std::thread thread_;
};

void writeLine(std::ostream& out, std::string_view prefix, std::string_view name) {
    out << prefix << name << '\n';
}

struct DirectoryListing {
    std::string masterName;            // the master as it is named here, in its own case
    std::vector<fs::path> mergedFiles; // the other files of the extension, in listing order
    std::size_t mergedBytes = 0;       // their sizes, as far as they are regular files
    bool ok = true;
    std::string reason;
};

// One pass over the directory finds the master under any letter case (the exact name wins)
// and the files to merge, in the order the listing returns them.
DirectoryListing listDirectory(const MergeDatabase& database, const fs::path& directory) {
    DirectoryListing listing;
    std::error_code error;
    fs::directory_iterator entries(directory, error);
    std::string masterInOtherCase;
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        const std::string name = entries->path().filename().string();
        if (equalIgnoringAsciiCase(name, database.masterName)) {
            if (name == database.masterName) {
                listing.masterName = name;
            } else if (masterInOtherCase.empty()) {
                masterInOtherCase = name;
            }
        } else if (endsWithIgnoringAsciiCase(name, database.extension)) {
            listing.mergedFiles.push_back(entries->path());
            std::error_code unknownSize;
            if (entries->is_regular_file(unknownSize)) {
                const std::uintmax_t size = entries->file_size(unknownSize);
                if (!unknownSize) {
                    listing.mergedBytes += static_cast<std::size_t>(
                        std::min<std::uintmax_t>(size, SIZE_MAX - listing.mergedBytes));
                }
            }
        }
    }
    if (error) {
        listing.ok = false;
        listing.reason = error.message();
    }
    if (listing.masterName.empty()) {
        listing.masterName =
            masterInOtherCase.empty() ? std::string(database.masterName) : masterInOtherCase;
    }
    return listing;
}

} // namespace

bool mergeDatabase(const MergeDatabase& database, const fs::path& directory,
                   std::ostream& progress, std::ostream& errors) {
    const DirectoryListing listing = listDirectory(database, directory);
    if (!listing.ok) {
        writeLine(errors, "keelmerge: cannot list the directory: ",
                  listing.reason + "; " + std::string(database.masterName) + " was not merged");
        return false;
    }

    MergeTable table(database.recordSize, database.nameWidth,
                     database.sortedByName ? MergeTable::Order::ByName
                                           : MergeTable::Order::AsMerged);
    const fs::path masterPath = directory / listing.masterName;
    // The inputs are read on another thread while the table takes what has come. The master's
    // buffer becomes the table, with room behind it for every record merged.
    InputReader inputs(masterPath, listing.mergedBytes, listing.mergedFiles);
    bool begun = false;
    std::size_t arrived = 0;
    for (bool more = true; more;) {
        more = inputs.awaitMaster(arrived, [&](const InputReader::MasterSoFar& master) {
            if (!std::exchange(begun, true)) {
                table.beginMaster(master.expected, master.room);
            }
            table.indexMaster(master.bytes);
            arrived = master.bytes.size();
        });
    }
    const ReadIntoResult master = inputs.masterRead();
    if (master.ok()) {
        table.endMaster(inputs.takeMaster());
        if (master.size > 0) {
            writeLine(progress, "Loaded ", listing.masterName);
        }
    } else if (master.status != ReadStatus::Missing) {
        writeLine(errors, "keelmerge: cannot read ",
                  listing.masterName + " (" + master.reason +
                      "); nothing was merged into it and it is left as it was");
        return false;
    } else {
        table.endMaster(MergeTable::Buffer());
    }

    ProgressLines lines(progress);
    for (std::size_t file = 0; file < listing.mergedFiles.size(); ++file) {
        InputReader::Merged merged = inputs.nextMerged();
        if (!merged.read.ok()) {
            inputs.giveBack(std::move(merged.bytes));
            continue;
        }
        const ConstByteSpan records(merged.bytes.data(), merged.read.size);
        table.mergeAll(records, [&](MergeTable::Outcome outcome, ConstByteSpan record) {
            switch (outcome) {
            case MergeTable::Outcome::Replaced:
                lines.write("Replaced record ", table.name(record));
                break;
            case MergeTable::Outcome::Added:
                lines.write("Added record ", table.name(record));
                break;
            case MergeTable::Outcome::Ignored:
                break;
            }
        });
        inputs.giveBack(std::move(merged.bytes));
    }

    lines.flush();

    BackgroundRelease release;
    bool content = true;
    const WriteResult written =
        replaceFileAtomicallyFrom(masterPath, [&](const ContentSink& write) {
            if (!std::exchange(content, false)) {
                return false; // the content is handed out once
            }
            const bool complete = table.writeTo(write);
            // Nothing more is read from the table once the content is out.
            release.release(std::move(table));
            return complete;
        });
    if (!written.ok()) {
        writeLine(errors, "keelmerge: cannot write ",
                  listing.masterName + " (" + written.reason + "); it is left as it was");
        return false;
    }
    return true;
}

} // namespace keel
