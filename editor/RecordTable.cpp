// SPDX-License-Identifier: MIT
#include "editor/RecordTable.h"

#include "common/Checks.h"
#include "common/FileIo.h"
#include "common/NameCompare.h"
#include "common/PageProvision.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <unordered_map>

namespace keel {

RecordTable::RecordTable(std::size_t recordSize, TextFieldSpec nameField)
    : recordSize_(recordSize), nameField_(nameField) {
    check(nameField.offset + nameField.width <= recordSize, "a name field beyond its record");
}

ConstByteSpan RecordTable::record(std::size_t index) const {
    check(contains(index), "a record beyond the end of the table");
    return bytes().subspan(index * recordSize_, recordSize_);
}

ByteSpan RecordTable::record(std::size_t index) {
    check(contains(index), "a record beyond the end of the table");
    return ByteSpan(ownBytes()).subspan(index * recordSize_, recordSize_);
}

ByteVector& RecordTable::ownBytes() {
    // Whoever asks for the bytes to write may change a name.
    knownInOrder_ = false;
    if (shared_ != nullptr) {
        const ConstByteSpan shared = bytes();
        // A copy of hundreds of megabytes goes into pages provided at once, huge where it pays.
        own_.reserve(shared.size());
        if (own_.capacity() >= hugePageWorthy) {
            preferHugePages(own_.data(), own_.data() + own_.capacity());
            providePages(own_.data(), own_.data() + own_.capacity());
        }
        own_.assign(shared.begin(), shared.end());
        shared_ = nullptr;
        sharedSize_ = 0;
    }
    return own_;
}

void RecordTable::assign(ConstByteSpan file) {
    const std::size_t whole = file.size() / recordSize_ * recordSize_;
    knownInOrder_ = false;
    shared_ = nullptr;
    sharedSize_ = 0;
    own_.assign(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(whole));
}

void RecordTable::takeFrom(const ByteVector& master) {
    knownInOrder_ = false;
    ByteVector().swap(own_);
    shared_ = &master;
    sharedSize_ = master.size() / recordSize_ * recordSize_;
}

void RecordTable::commitTo(ByteVector& master) const {
    if (readsIn(master)) {
        // Only the bytes of a trailing partial record, which no record holds, can differ.
        master.resize(sharedSize_);
        return;
    }
    // Into the master's own memory where it is large enough, which is already in use.
    master.assign(own_.begin(), own_.end());
}

std::size_t RecordTable::appendNamed(std::string_view name) {
    const std::size_t index = count();
    ByteVector& bytes = ownBytes();
    bytes.resize(bytes.size() + recordSize_, 0);
    nameField_.write(record(index), name, TextOverflow::Cut);
    return index;
}

std::size_t RecordTable::appendCopy(std::size_t index) {
    check(contains(index), "a record beyond the end of the table");
    const std::size_t copy = count();
    ByteVector& bytes = ownBytes();
    bytes.resize(bytes.size() + recordSize_);
    std::memcpy(record(copy).data(), record(index).data(), recordSize_);
    return copy;
}

void RecordTable::remove(std::size_t index) {
    check(contains(index), "a record beyond the end of the table");
    ByteVector& bytes = ownBytes();
    const auto first = bytes.begin() + static_cast<std::ptrdiff_t>(index * recordSize_);
    bytes.erase(first, first + static_cast<std::ptrdiff_t>(recordSize_));
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
    const WriteResult written = replaceFileAtomically(file, content);
    if (!written.ok()) {
        return {writeFailureMessage(written, file), 0};
    }
    return {{}, content.size() / recordSize_};
}

void RecordTable::overwrite(std::size_t index, ConstByteSpan source) {
    check(source.size() == recordSize_, "a record of another size");
    std::memcpy(record(index).data(), source.data(), recordSize_);
}

void RecordTable::learnOrder() {
    if (knownInOrder_) {
        return;
    }
    bool inOrder = true;
    for (std::size_t i = 1; i < count() && inOrder; ++i) {
        inOrder = compareEditorNames(name(i - 1), name(i)) <= 0;
    }
    knownInOrder_ = inOrder;
}

std::vector<std::size_t> RecordTable::sortByName() {
    const std::size_t records = count();
    std::vector<std::size_t> order(records);
    std::iota(order.begin(), order.end(), std::size_t{0});
    // Records already in order, as after every save, stay where they are, untouched.
    learnOrder();
    if (knownInOrder_) {
        return order;
    }
    // The names are folded once into zero-padded keys; comparing those with memcmp is the
    // editor's comparison, since a name holds no zero byte before its terminator.
    const std::size_t width = nameField_.width;
    ByteVector keys(records * width, 0);
    for (std::size_t i = 0; i < records; ++i) {
        const std::string key = editorNameKey(name(i));
        std::memcpy(&keys[i * width], key.data(), key.size());
    }
    const auto before = [&](std::size_t a, std::size_t b) {
        return std::memcmp(&keys[a * width], &keys[b * width], width) < 0;
    };
    std::sort(order.begin(), order.end(), before);
    // The records are moved in place, cycle by cycle, through one record's worth of room.
    ByteVector& bytes = ownBytes();
    std::vector<bool> placed(records, false);
    ByteVector held(recordSize_);
    for (std::size_t start = 0; start < records; ++start) {
        if (placed[start] || order[start] == start) {
            continue;
        }
        std::memcpy(held.data(), &bytes[start * recordSize_], recordSize_);
        std::size_t at = start;
        while (order[at] != start) {
            std::memcpy(&bytes[at * recordSize_], &bytes[order[at] * recordSize_], recordSize_);
            placed[at] = true;
            at = order[at];
        }
        std::memcpy(&bytes[at * recordSize_], held.data(), recordSize_);
        placed[at] = true;
    }
    knownInOrder_ = true;
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
            ByteVector& bytes = ownBytes();
            bytes.insert(bytes.end(), source.begin(), source.end());
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
