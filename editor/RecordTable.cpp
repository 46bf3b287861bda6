#include "editor/RecordTable.h"

#include "common/FileIo.h"
#include "common/NameCompare.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <numeric>
#include <unordered_map>

namespace keel {

RecordTable::RecordTable(std::size_t recordSize, TextFieldSpec nameField)
    : recordSize_(recordSize), nameField_(nameField) {
    assert(nameField.offset + nameField.width <= recordSize);
}

ConstByteSpan RecordTable::record(std::size_t index) const {
    assert(contains(index));
    return ConstByteSpan(bytes_).subspan(index * recordSize_, recordSize_);
}

ByteSpan RecordTable::record(std::size_t index) {
    assert(contains(index));
    return ByteSpan(bytes_).subspan(index * recordSize_, recordSize_);
}

void RecordTable::assign(ConstByteSpan file) {
    const std::size_t whole = file.size() / recordSize_ * recordSize_;
    bytes_.assign(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(whole));
}

std::size_t RecordTable::appendNamed(std::string_view name) {
    const std::size_t index = count();
    bytes_.resize(bytes_.size() + recordSize_, 0);
    nameField_.write(record(index), name, TextOverflow::Cut);
    return index;
}

std::size_t RecordTable::appendCopy(std::size_t index) {
    assert(contains(index));
    const std::size_t copy = count();
    bytes_.resize(bytes_.size() + recordSize_);
    std::memcpy(record(copy).data(), record(index).data(), recordSize_);
    return copy;
}

void RecordTable::remove(std::size_t index) {
    assert(contains(index));
    const auto first = bytes_.begin() + static_cast<std::ptrdiff_t>(index * recordSize_);
    bytes_.erase(first, first + static_cast<std::ptrdiff_t>(recordSize_));
}

ByteVector RecordTable::snapshot(std::size_t index) const {
    const ConstByteSpan bytes = record(index);
    return ByteVector(bytes.begin(), bytes.end());
}

RecordCollection::ExportResult RecordTable::appendToExchangeFile(std::size_t index,
                                                                 const std::filesystem::path& file) const {
    const ReadResult existing = readWholeFile(file);
    if (!existing.ok() && existing.status != ReadStatus::Missing) {
        return {"Cannot open file " + file.string(), 0};
    }
    ByteVector content = existing.bytes;
    if (content.size() % recordSize_ != 0) {
        return {"Cannot export to " + file.string() +
                    ": its size is not a whole number of records, so it is no exchange file of this kind",
                0};
    }
    const ConstByteSpan appended = record(index);
    content.insert(content.end(), appended.begin(), appended.end());
    // The file is replaced as a whole, so a failed write leaves it as it was.
    if (!replaceFileAtomically(file, content).ok()) {
        return {"Cannot create file " + file.string(), 0};
    }
    return {{}, content.size() / recordSize_};
}

void RecordTable::overwrite(std::size_t index, ConstByteSpan source) {
    assert(source.size() == recordSize_);
    std::memcpy(record(index).data(), source.data(), recordSize_);
}

std::vector<std::size_t> RecordTable::sortByName() {
    // The names are folded once into zero-padded keys; comparing those with memcmp is the
    // editor's comparison, since a name holds no zero byte before its terminator.
    const std::size_t records = count();
    const std::size_t width = nameField_.width;
    ByteVector keys(records * width, 0);
    for (std::size_t i = 0; i < records; ++i) {
        const std::string key = editorNameKey(name(i));
        std::memcpy(&keys[i * width], key.data(), key.size());
    }
    std::vector<std::size_t> order(records);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return std::memcmp(&keys[a * width], &keys[b * width], width) < 0;
    });
    ByteVector sorted(bytes_.size());
    for (std::size_t i = 0; i < records; ++i) {
        std::memcpy(&sorted[i * recordSize_], record(order[i]).data(), recordSize_);
    }
    bytes_ = std::move(sorted);
    return order;
}

RecordTable::MergeReport RecordTable::merge(ConstByteSpan exchangeFile) {
    const std::size_t existing = count();
    std::unordered_map<std::string, std::vector<std::size_t>> earlierByName;
    earlierByName.reserve(existing);
    for (std::size_t i = 0; i < existing; ++i) {
        earlierByName[editorNameKey(name(i))].push_back(i);
    }

    MergeReport report;
    const std::size_t imported = exchangeFile.size() / recordSize_;
    for (std::size_t i = 0; i < imported; ++i) {
        const ConstByteSpan source = exchangeFile.subspan(i * recordSize_, recordSize_);
        const ConstByteSpan sourceName = nameField_.bytes(source);
        report.names.push_back(readText(sourceName));
        const auto matches = earlierByName.find(editorNameKey(sourceName));
        if (matches == earlierByName.end()) {
            bytes_.insert(bytes_.end(), source.begin(), source.end());
            ++report.added;
            continue;
        }
        for (std::size_t target : matches->second) {
            overwrite(target, source);
        }
        ++report.replacing;
    }
    return report;
}

} // namespace keel
