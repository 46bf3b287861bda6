#include "nations/NationList.h"

#include "common/NameCompare.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>

namespace keel {
namespace {

// The window that shows an import's problem is captioned with the file's path.
constexpr std::string_view importedFileName = "This file";

std::string nameKey(const Nation& nation) {
    return editorNameKey(NationRecord::CountryName.bytes(nation.record));
}

} // namespace

std::string NationList::nameText(std::size_t index) const {
    return NationRecord::CountryName.read(nation(index).record);
}

void NationList::assign(ConstByteSpan file) {
    MissionDatabase read = readMissionDatabase(file, "mission.db");
    nations_ = std::move(read.nations);
    readReport_ = std::move(read.report);
}

ByteVector NationList::fileBytes() const {
    return writeMissionDatabase(nations_);
}

std::size_t NationList::appendNamed(std::string_view name) {
    Nation added = newNation();
    // The name replaces the default one whole, so that no tail of it stays after the
    // terminator and goes into the files.
    const ByteSpan nameField =
        ByteSpan(added.record)
            .subspan(NationRecord::CountryName.offset, NationRecord::CountryName.width);
    std::fill(nameField.begin(), nameField.end(), Byte{0});
    NationRecord::CountryName.write(added.record, name, TextOverflow::Cut);
    nations_.push_back(std::move(added));
    return nations_.size() - 1;
}

std::size_t NationList::appendCopy(std::size_t index) {
    Nation copy = nation(index);
    nations_.push_back(std::move(copy));
    return nations_.size() - 1;
}

void NationList::remove(std::size_t index) {
    assert(contains(index));
    nations_.erase(nations_.begin() + static_cast<std::ptrdiff_t>(index));
}

ByteVector NationList::snapshot(std::size_t index) const {
    const Nation& shown = nation(index);
    ByteVector block;
    block.reserve(nationBlockSize(shown));
    writeNationBlock(shown, block);
    return block;
}

void NationList::restore(std::size_t index, ConstByteSpan snapshot) {
    assert(contains(index));
    // Read as the one nation of a file, the block is read as every nation is, and never past
    // its end.
    ByteVector file(4);
    storeLittleEndian<std::int32_t>(file, 1);
    file.insert(file.end(), snapshot.begin(), snapshot.end());
    MissionDatabase read = readMissionDatabase(file, "snapshot");
    if (read.nations.size() == 1 && !read.report.lostData()) {
        nations_[index] = std::move(read.nations.front());
    }
}

std::vector<std::size_t> NationList::sortByName() {
    std::vector<std::size_t> order(nations_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    return order;
}

RecordCollection::ImportReport NationList::import(ConstByteSpan exchangeFile) {
    MissionDatabase read = readMissionDatabase(exchangeFile, importedFileName);
    ImportReport report;
    if (read.report.lostData()) {
        report.problem = read.report.text();
    }
    report.names.reserve(read.nations.size());
    for (const Nation& imported : read.nations) {
        report.names.push_back(NationRecord::CountryName.read(imported.record));
    }

    // The nations present before this file, by folded name. `taken` once the last imported
    // nation of that name has been put in their place.
    struct Earlier {
        std::vector<std::size_t> positions;
        bool taken = false;
    };
    std::unordered_map<std::string, Earlier> earlierByName;
    earlierByName.reserve(nations_.size());
    for (std::size_t i = 0; i < nations_.size(); ++i) {
        earlierByName[nameKey(nations_[i])].positions.push_back(i);
    }

    // Walking the file from its end meets the last imported nation of each name first: that
    // is the one the earlier nations end as, so each of them is copied over only once.
    std::vector<bool> matched(read.nations.size(), false);
    for (std::size_t i = read.nations.size(); i-- > 0;) {
        const auto found = earlierByName.find(nameKey(read.nations[i]));
        if (found == earlierByName.end()) {
            continue;
        }
        matched[i] = true;
        Earlier& earlier = found->second;
        if (earlier.taken) {
            continue;
        }
        earlier.taken = true;
        for (std::size_t position : earlier.positions) {
            nations_[position] = read.nations[i];
        }
    }
    for (std::size_t i = 0; i < read.nations.size(); ++i) {
        if (!matched[i]) {
            nations_.push_back(std::move(read.nations[i]));
        }
    }
    return report;
}

RecordCollection::ExportResult
NationList::appendToExchangeFile(std::size_t index, const std::filesystem::path& file) const {
    const ExchangeAppend appended = appendNationToExchangeFile(file, nation(index));
    if (!appended.ok()) {
        return {appended.error, 0};
    }
    return {{}, static_cast<std::size_t>(appended.count)};
}

} // namespace keel
