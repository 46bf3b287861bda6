#include "merge/DatabaseMerge.h"

#include "common/FileIo.h"
#include "merge/MergeTable.h"

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace keel {
namespace {

namespace fs = std::filesystem;

char foldToLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y) { return foldToLower(x) == foldToLower(y); });
}

bool endsWithIgnoringCase(std::string_view text, std::string_view ending) {
    return text.size() >= ending.size() &&
           equalIgnoringCase(text.substr(text.size() - ending.size()), ending);
}

// Writes each progress line with one call on the stream, since a merge may print a line for
// every one of hundreds of thousands of records.
class ProgressLines {
public:
    explicit ProgressLines(std::ostream& out) : out_(out) {}
    void write(std::string_view prefix, ConstByteSpan name) {
        line_.assign(prefix);
        line_.append(reinterpret_cast<const char*>(name.data()), name.size());
        line_.push_back('\n');
        out_.write(line_.data(), static_cast<std::streamsize>(line_.size()));
    }

private:
    std::ostream& out_;
    std::string line_;
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
        if (equalIgnoringCase(name, database.masterName)) {
            if (name == database.masterName) {
                listing.masterName = name;
            } else if (masterInOtherCase.empty()) {
                masterInOtherCase = name;
            }
        } else if (endsWithIgnoringCase(name, database.extension)) {
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
    // The master's buffer becomes the table, with room behind it for every record merged.
    ReadResult master = readWholeFile(masterPath, listing.mergedBytes);
    if (master.ok()) {
        const bool loaded = !master.bytes.empty();
        table.loadMaster(std::move(master.bytes));
        if (loaded) {
            writeLine(progress, "Loaded ", listing.masterName);
        }
    } else if (master.status != ReadStatus::Missing) {
        writeLine(errors, "keelmerge: cannot read ",
                  listing.masterName + " (" + master.reason +
                      "); nothing was merged into it and it is left as it was");
        return false;
    }

    ProgressLines lines(progress);
    for (const fs::path& path : listing.mergedFiles) {
        const ReadResult merged = readWholeFile(path);
        if (!merged.ok()) {
            continue;
        }
        table.mergeAll(merged.bytes, [&](MergeTable::Outcome outcome, ConstByteSpan record) {
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
    }

    const WriteResult written = replaceFileAtomicallyFrom(
        masterPath, [&](const ContentSink& write) { return table.writeTo(write); });
    if (!written.ok()) {
        writeLine(errors, "keelmerge: cannot write ",
                  listing.masterName + " (" + written.reason + "); it is left as it was");
        return false;
    }
    return true;
}

} // namespace keel
