// SPDX-License-Identifier: MIT
#include "check/FileCheck.h"

#include <sstream>

namespace keel {
namespace {

// What goes unchecked when a file is not there to read.
std::string_view uncheckedWithout(DatabaseFile file) {
    switch (file) {
    case DatabaseFile::Objects:
        return "nothing that refers to objects was checked";
    case DatabaseFile::Launchers:
        return "launcher slots and launchers were not checked";
    case DatabaseFile::ShipBasedAircraft:
        return "carriers were not checked";
    case DatabaseFile::Missions:
        return "nations and carriers were not checked";
    case DatabaseFile::ThreeDObjects:
        return "objects and 3D objects were not paired";
    case DatabaseFile::Sensors:
        return "sensor slots were not checked";
    case DatabaseFile::Airstrips:
        return "airstrip slots were not checked";
    }
    return {};
}

// The reader's sentences, one finding each. A sentence that opens with the file's name and a
// colon loses them, since every finding names its file.
void addReaderReport(DatabaseFile file, const ReadReport& report, FindingList& findings) {
    if (report.clean()) {
        return;
    }
    const std::string prefix = std::string(fileName(file)) + ": ";
    std::istringstream lines(report.text());
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(prefix, 0) == 0) {
            line.erase(0, prefix.size());
        }
        findings.add({FindingKind::DamagedFile, file, std::nullopt, {}, {}, line});
    }
}

} // namespace

void FileCheck::run(const SetIndexes& indexes, FindingList& findings) const {
    const CheckedSet& set = indexes.set;
    for (DatabaseFile file : loadOrder) {
        const CheckedSet::File& read = set.file(file);
        switch (read.state) {
        case CheckedSet::State::Missing:
            findings.add(
                {FindingKind::MissingFile,
                 file,
                 std::nullopt,
                 {},
                 {},
                 "missing from the directory; " + std::string(uncheckedWithout(file)) + "."});
            continue;
        case CheckedSet::State::Unreadable:
            findings.add({FindingKind::UnreadableFile,
                          file,
                          std::nullopt,
                          {},
                          {},
                          "cannot be read (" + read.reason + "); " +
                              std::string(uncheckedWithout(file)) + "."});
            continue;
        case CheckedSet::State::Read:
            break;
        }
        if (const std::size_t size = CheckedSet::fixedRecordSize(file);
            size != 0 && read.bytes.size() % size != 0) {
            const std::size_t extra = read.bytes.size() % size;
            findings.add({FindingKind::DamagedFile,
                          file,
                          std::nullopt,
                          {},
                          {},
                          "holds " + std::to_string(extra) + (extra == 1 ? " byte" : " bytes") +
                              " beyond its last whole record of " + std::to_string(size) +
                              " bytes, from byte " + std::to_string(read.bytes.size() - extra) +
                              "; they belong to no record."});
        }
    }
    if (set.has(DatabaseFile::Missions)) {
        addReaderReport(DatabaseFile::Missions, set.missions().report, findings);
    }
    if (set.has(DatabaseFile::ShipBasedAircraft)) {
        addReaderReport(DatabaseFile::ShipBasedAircraft, set.carriers().report, findings);
    }
}

} // namespace keel
