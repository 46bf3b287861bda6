#include "merge/DatabaseMerge.h"

#include "common/FileIo.h"
#include "merge/MergeTable.h"

#include <algorithm>
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

void writeLine(std::ostream& out, std::string_view prefix, ConstByteSpan name) {
    out << prefix;
    out.write(reinterpret_cast<const char*>(name.data()), static_cast<std::streamsize>(name.size()));
    out << '\n';
}

void writeLine(std::ostream& out, std::string_view prefix, std::string_view name) {
    out << prefix << name << '\n';
}

struct DirectoryListing {
    std::string masterName;                // the master as it is named here, in its own case
    std::vector<fs::path> mergedFiles;     // the other files of the extension, in listing order
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

    MergeTable table(database.recordSize, database.nameWidth);
    const fs::path masterPath = directory / listing.masterName;
    const ReadResult master = readWholeFile(masterPath);
    if (master.ok()) {
        table.loadMaster(master.bytes);
        if (!master.bytes.empty()) {
            writeLine(progress, "Loaded ", listing.masterName);
        }
    } else if (master.status != ReadStatus::Missing) {
        writeLine(errors, "keelmerge: cannot read ",
                  listing.masterName + " (" + master.reason +
                      "); nothing was merged into it and it is left as it was");
        return false;
    }

    for (const fs::path& path : listing.mergedFiles) {
        const ReadResult merged = readWholeFile(path);
        if (!merged.ok()) {
            continue;
        }
        const ConstByteSpan bytes(merged.bytes);
        const std::size_t records = bytes.size() / database.recordSize;
        for (std::size_t i = 0; i < records; ++i) {
            const ConstByteSpan record = bytes.subspan(i * database.recordSize, database.recordSize);
            switch (table.merge(record)) {
            case MergeTable::Outcome::Replaced:
                writeLine(progress, "Replaced record ", table.name(record));
                break;
            case MergeTable::Outcome::Added:
                writeLine(progress, "Added record ", table.name(record));
                break;
            case MergeTable::Outcome::Ignored:
                break;
            }
        }
    }

    if (database.sortedByName) {
        table.sortByName();
    }
    const WriteResult written = replaceFileAtomically(masterPath, table.bytes());
    if (!written.ok()) {
        writeLine(errors, "keelmerge: cannot write ",
                  listing.masterName + " (" + written.reason + "); it is left as it was");
        return false;
    }
    return true;
}

} // namespace keel
