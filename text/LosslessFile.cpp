// SPDX-License-Identifier: MIT
#include "text/LosslessFile.h"

#include "common/Checks.h"
#include "common/CountedBlocks.h"

#include <algorithm>

namespace keel {
namespace {

constexpr std::size_t countSize = 4;

class BlockReader {
public:
    BlockReader(std::span<const RecordLevel> levels, ConstByteSpan bytes) : levels_(levels), bytes_(bytes) {}

    std::size_t position() const { return position_; }
    void moveTo(std::size_t position) { position_ = position; }
    std::size_t remaining() const { return bytes_.size() - position_; }

    // Reads one record of `level` and, below it, the records it counts. False when the bytes
    // end before the last of them or a count is negative; the position is then anywhere.
    bool read(std::size_t level, StoredRecord& record) {
        const RecordLevel& shape = levels_[level];
        if (remaining() < shape.size) {
            return false;
        }
        const auto from = bytes_.begin() + static_cast<std::ptrdiff_t>(position_);
        record.bytes.assign(from, from + static_cast<std::ptrdiff_t>(shape.size));
        position_ += shape.size;
        if (!shape.hasChildren()) {
            return true;
        }
        const std::int64_t count = shape.countField->integer().read(record.bytes);
        if (count < 0) {
            return false;
        }
        // No more room than the bytes left can fill, whatever the count says.
        const std::size_t childSize = levels_[level + 1].size;
        record.children.reserve(std::min(static_cast<std::size_t>(count), remaining() / childSize));
        for (std::int64_t i = 0; i < count; ++i) {
            StoredRecord& child = record.children.emplace_back();
            if (!read(level + 1, child)) {
                return false;
            }
        }
        return true;
    }

private:
    std::span<const RecordLevel> levels_;
    ConstByteSpan bytes_;
    std::size_t position_ = 0;
};

void readFixedRecords(const RecordKindInfo& kind, ConstByteSpan bytes, LosslessFile& file) {
    const std::size_t size = kind.recordSize();
    const std::size_t count = bytes.size() / size;
    file.records.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const ConstByteSpan record = bytes.subspan(i * size, size);
        file.records[i].bytes.assign(record.begin(), record.end());
    }
    file.trailing.assign(bytes.begin() + static_cast<std::ptrdiff_t>(count * size), bytes.end());
}

void readCountedBlocks(const RecordKindInfo& kind, ConstByteSpan bytes, LosslessFile& file) {
    if (bytes.size() < countSize) {
        file.hasCount = false;
        file.trailing.assign(bytes.begin(), bytes.end());
        return;
    }
    const auto count = loadLittleEndian<std::int32_t>(bytes.first(countSize));
    BlockReader reader(kind.levels, bytes);
    reader.moveTo(countSize);
    if (count > 0) {
        file.records.reserve(std::min(static_cast<std::size_t>(count), reader.remaining() / kind.top().size));
    }
    for (std::int32_t i = 0; i < count; ++i) {
        const std::size_t start = reader.position();
        StoredRecord block;
        if (!reader.read(0, block)) {
            reader.moveTo(start);
            break;
        }
        file.records.push_back(std::move(block));
    }
    if (static_cast<std::int64_t>(count) != static_cast<std::int64_t>(file.records.size())) {
        file.storedCount = count;
    }
    file.trailing.assign(bytes.begin() + static_cast<std::ptrdiff_t>(reader.position()), bytes.end());
}

std::size_t writtenSize(const StoredRecord& record) {
    std::size_t size = record.bytes.size();
    for (const StoredRecord& child : record.children) {
        size += writtenSize(child);
    }
    return size;
}

void writeRecord(std::span<const RecordLevel> levels, std::size_t level, const StoredRecord& record,
                 ByteVector& out) {
    const RecordLevel& shape = levels[level];
    check(record.bytes.size() == shape.size, "a record of its level's size");
    const std::size_t at = out.size();
    out.insert(out.end(), record.bytes.begin(), record.bytes.end());
    if (!shape.hasChildren()) {
        check(record.children.empty(), "nested records only below a record that counts them");
        return;
    }
    shape.countField->integer().write(ByteSpan(out).subspan(at, shape.size), storedCount(record.children.size()));
    for (const StoredRecord& child : record.children) {
        writeRecord(levels, level + 1, child, out);
    }
}

} // namespace

LosslessFile readLosslessFile(RecordKind kind, ConstByteSpan bytes) {
    LosslessFile file;
    file.kind = kind;
    const RecordKindInfo& info = recordKind(kind);
    if (info.counted) {
        readCountedBlocks(info, bytes, file);
    } else {
        readFixedRecords(info, bytes, file);
    }
    return file;
}

bool writeLosslessFile(const LosslessFile& file, const std::function<bool(ConstByteSpan)>& sink) {
    constexpr std::size_t pieceSize = std::size_t{1} << 20;
    const RecordKindInfo& info = recordKind(file.kind);
    check(file.hasCount || file.records.empty(), "records only in a file that counts them");
    ByteVector piece;
    piece.reserve(pieceSize + 2 * pieceSize / 8);
    if (info.counted && file.hasCount) {
        piece.resize(countSize);
        storeLittleEndian<std::int32_t>(piece, file.storedCount.value_or(storedCount(file.records.size())));
    }
    for (const StoredRecord& record : file.records) {
        writeRecord(info.levels, 0, record, piece);
        if (piece.size() >= pieceSize) {
            if (!sink(piece)) {
                return false;
            }
            piece.clear();
        }
    }
    piece.insert(piece.end(), file.trailing.begin(), file.trailing.end());
    return piece.empty() || sink(piece);
}

ByteVector writeLosslessFile(const LosslessFile& file) {
    std::size_t size = file.trailing.size() + 4;
    for (const StoredRecord& record : file.records) {
        size += writtenSize(record);
    }
    ByteVector out;
    out.reserve(size);
    writeLosslessFile(file, [&out](ConstByteSpan piece) {
        out.insert(out.end(), piece.begin(), piece.end());
        return true;
    });
    return out;
}

} // namespace keel
