// SPDX-License-Identifier: MIT
#include "merge/MergeTable.h"

#include "common/Checks.h"
#include "merge/PieceWriter.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <stdexcept>

namespace keel {
namespace {

// How many records ahead of the one being indexed or merged its slot of the index is asked
// for, and how many ahead the record that slot names: enough to cover the time each takes to
// come from memory.
constexpr std::size_t slotAhead = 16;
constexpr std::size_t recordAhead = 8;

void prefetchRecord(const Byte* record, std::size_t recordSize) {
    for (std::size_t line = 0; line < recordSize; line += 64) {
        __builtin_prefetch(record + line);
    }
}

} // namespace

MergeTable::MergeTable(std::size_t recordSize, std::size_t nameWidth, Order order)
    : recordSize_(recordSize), nameWidth_(nameWidth), firstByName_(recordSize, nameWidth) {
    check(nameWidth_ > 0 && nameWidth_ <= recordSize_, "a record name lies within its record");
    if (order == Order::ByName) {
        byName_.emplace(NamePrefix(recordSize, nameWidth));
    }
}

void MergeTable::loadMaster(Buffer file) {
    beginMaster(file.size(), file.capacity());
    endMaster(std::move(file));
}

void MergeTable::beginMaster(std::size_t expectedBytes, std::size_t roomBytes) {
    const std::size_t records = std::min(expectedBytes / recordSize_, RecordNameIndex::maxRecords);
    bytes_ = Buffer();
    firstByName_ = RecordNameIndex(recordSize_, nameWidth_);
    firstByName_.reserve(records);
    if (byName_) {
        *byName_ = NameOrder(NamePrefix(recordSize_, nameWidth_));
        // As many names as the buffer has room for records, as far as there is memory for them.
        try {
            byName_->reserve(std::max(records, roomBytes / recordSize_));
        } catch (const std::bad_alloc&) {
            byName_->reserve(records);
        }
    }
    masterIndexed_ = 0;
    masterBegun_ = true;
}

void MergeTable::indexMaster(ConstByteSpan arrived) {
    const std::size_t records = arrived.size() / recordSize_;
    if (records > RecordNameIndex::maxRecords) {
        throw std::length_error("too many records in the master");
    }
    const Byte* const bytes = arrived.data();
    const std::size_t first = masterIndexed_;
    std::array<RecordNameIndex::Key, slotAhead> keys;
    auto keyAhead = [&](std::size_t i) {
        if (i + slotAhead < records) {
            __builtin_prefetch(bytes + (i + slotAhead) * recordSize_);
        }
        if (i < records) {
            keys[i % slotAhead] = firstByName_.keyOf(bytes + i * recordSize_);
            firstByName_.prefetch(keys[i % slotAhead]);
        }
    };
    for (std::size_t i = first; i < first + slotAhead; ++i) {
        keyAhead(i);
    }
    for (std::size_t i = first; i < records; ++i) {
        const RecordNameIndex::Key key = keys[i % slotAhead];
        keyAhead(i + slotAhead);
        if (!isBlank(arrived.subspan(i * recordSize_, recordSize_))) {
            firstByName_.insert(arrived, i, key);
        }
        if (byName_) {
            byName_->add(key.prefix);
        }
    }
    masterIndexed_ = std::max(first, records);
}

void MergeTable::endMaster(Buffer file) {
    if (!masterBegun_) {
        beginMaster(file.size(), file.capacity());
    }
    indexMaster(file);
    file.resize(file.size() / recordSize_ * recordSize_);
    bytes_ = std::move(file);
    masterBegun_ = false;
}

ConstByteSpan MergeTable::record(std::size_t index) const {
    check(index < count(), "a record index names a record of the table");
    return ConstByteSpan(bytes_).subspan(index * recordSize_, recordSize_);
}

ConstByteSpan MergeTable::name(ConstByteSpan record) const {
    const ConstByteSpan field = record.first(nameWidth_);
    const auto end = std::find(field.begin(), field.end(), Byte{0});
    return field.first(static_cast<std::size_t>(end - field.begin()));
}

MergeTable::Outcome MergeTable::merge(ConstByteSpan record) {
    check(record.size() == recordSize_, "a merged record has the size of the table's records");
    return merge(record, firstByName_.keyOf(record.data()));
}

MergeTable::Outcome MergeTable::merge(ConstByteSpan record, const RecordNameIndex::Key& key) {
    if (isBlank(record)) {
        return Outcome::Ignored;
    }
    // One search finds the record of the name or indexes the record about to be appended.
    const std::size_t found = count() < RecordNameIndex::maxRecords
                                  ? firstByName_.findOrInsert(bytes_, record.data(), key, count())
                                  : firstByName_.find(bytes_, record.data(), key);
    if (found != RecordNameIndex::none) {
        std::memcpy(bytes_.data() + found * recordSize_, record.data(), recordSize_);
        return Outcome::Replaced;
    }
    if (count() >= RecordNameIndex::maxRecords) {
        throw std::length_error("too many records to merge");
    }
    bytes_.append(record.data(), record.size());
    if (byName_) {
        byName_->add(key.prefix);
    }
    return Outcome::Added;
}

void MergeTable::mergeAll(ConstByteSpan records,
                          const std::function<void(Outcome, ConstByteSpan record)>& report) {
    const std::size_t count = records.size() / recordSize_;
    auto recordAt = [&](std::size_t i) {
        return records.subspan(i * recordSize_, recordSize_);
    };
    std::array<RecordNameIndex::Key, slotAhead> keys;
    auto keyAhead = [&](std::size_t i) {
        if (i + slotAhead < count) {
            __builtin_prefetch(recordAt(i + slotAhead).data());
        }
        if (i < count) {
            keys[i % slotAhead] = firstByName_.keyOf(recordAt(i).data());
            firstByName_.prefetch(keys[i % slotAhead]);
        }
    };
    // A record of the same name is overwritten whole: it is asked for once its slot is at hand.
    auto matchAhead = [&](std::size_t i) {
        if (i < count) {
            const std::size_t match = firstByName_.likelyMatch(keys[i % slotAhead]);
            if (match != RecordNameIndex::none) {
                prefetchRecord(bytes_.data() + match * recordSize_, recordSize_);
            }
        }
    };
    for (std::size_t i = 0; i < slotAhead; ++i) {
        keyAhead(i);
    }
    for (std::size_t i = 0; i < recordAhead; ++i) {
        matchAhead(i);
    }
    for (std::size_t i = 0; i < count; ++i) {
        const RecordNameIndex::Key key = keys[i % slotAhead];
        keyAhead(i + slotAhead);
        matchAhead(i + recordAhead);
        report(merge(recordAt(i), key), recordAt(i));
    }
}

std::vector<std::uint32_t> MergeTable::orderByName() {
    check(byName_ && byName_->size() == count(), "every record of the table is in its name order");
    std::vector<std::uint32_t> order;
    byName_->sort(bytes_, recordSize_, [&](std::span<const std::uint32_t> records) {
        order.insert(order.end(), records.begin(), records.end());
        return true;
    });
    return order;
}

bool MergeTable::writeTo(const ContentSink& write, std::size_t pieceSize) {
    if (!byName_) {
        return write(bytes_);
    }
    check(byName_->size() == count(), "every record of the table is in its name order");
    // The records are gathered in their new order into a small piece at a time, so that no
    // second copy of the whole table is made, and each piece goes out as soon as the sort has
    // settled its records, written on another thread while the next is gathered. They come from
    // all over the table, so the next ones are asked for early.
    const std::size_t recordsPerPiece = std::max<std::size_t>(1, pieceSize / recordSize_);
    PieceWriter writer(write, recordsPerPiece * recordSize_);
    Byte* piece = writer.piece();
    std::size_t inPiece = 0;
    const bool sorted =
        piece != nullptr &&
        byName_->sort(bytes_, recordSize_, [&](std::span<const std::uint32_t> records) {
            for (std::size_t i = 0; i < records.size(); ++i) {
                if (i + recordAhead < records.size()) {
                    prefetchRecord(bytes_.data() + records[i + recordAhead] * recordSize_,
                                   recordSize_);
                }
                std::memcpy(piece + inPiece * recordSize_, bytes_.data() + records[i] * recordSize_,
                            recordSize_);
                if (++inPiece == recordsPerPiece) {
                    inPiece = 0;
                    writer.hand(recordsPerPiece * recordSize_);
                    piece = writer.piece();
                    if (piece == nullptr) {
                        return false;
                    }
                }
            }
            return true;
        });
    if (sorted && inPiece > 0) {
        writer.hand(inPiece * recordSize_);
    }
    return writer.finish() && sorted;
}

} // namespace keel
