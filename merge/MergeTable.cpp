#include "merge/MergeTable.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <numeric>

namespace keel {

MergeTable::MergeTable(std::size_t recordSize, std::size_t nameWidth)
    : recordSize_(recordSize), nameWidth_(nameWidth) {
    assert(nameWidth_ > 0 && nameWidth_ <= recordSize_);
}

void MergeTable::loadMaster(ConstByteSpan file) {
    bytes_.clear();
    firstByName_.clear();
    const std::size_t records = file.size() / recordSize_;
    bytes_.reserve(records * recordSize_);
    firstByName_.reserve(records);
    for (std::size_t i = 0; i < records; ++i) {
        append(file.subspan(i * recordSize_, recordSize_));
    }
}

ConstByteSpan MergeTable::record(std::size_t index) const {
    assert(index < count());
    return ConstByteSpan(bytes_).subspan(index * recordSize_, recordSize_);
}

ConstByteSpan MergeTable::name(ConstByteSpan record) const {
    const ConstByteSpan field = record.first(nameWidth_);
    const auto end = std::find(field.begin(), field.end(), Byte{0});
    return field.first(static_cast<std::size_t>(end - field.begin()));
}

std::string MergeTable::key(ConstByteSpan record) const {
    const ConstByteSpan text = name(record);
    return std::string(text.begin(), text.end());
}

void MergeTable::append(ConstByteSpan record) {
    const std::size_t index = count();
    bytes_.insert(bytes_.end(), record.begin(), record.end());
    if (!isBlank(record)) {
        firstByName_.try_emplace(key(record), index);
    }
}

MergeTable::Outcome MergeTable::merge(ConstByteSpan record) {
    assert(record.size() == recordSize_);
    if (isBlank(record)) {
        return Outcome::Ignored;
    }
    const auto found = firstByName_.find(key(record));
    if (found == firstByName_.end()) {
        append(record);
        return Outcome::Added;
    }
    std::copy(record.begin(), record.end(),
              bytes_.begin() + static_cast<std::ptrdiff_t>(found->second * recordSize_));
    return Outcome::Replaced;
}

void MergeTable::sortByName() {
    // Each name is folded once into a zero-padded key of the name field's width, so that the
    // sort compares small, adjacent keys instead of reaching into whole records. Names hold no
    // zero byte, so the padding puts a name before every longer name that begins with it.
    const std::size_t records = count();
    ByteVector keys(records * nameWidth_, 0);
    for (std::size_t i = 0; i < records; ++i) {
        const ConstByteSpan text = name(record(i));
        std::transform(text.begin(), text.end(), keys.begin() + static_cast<std::ptrdiff_t>(i * nameWidth_),
                       [](Byte c) { return (c >= 'A' && c <= 'Z') ? Byte(c - 'A' + 'a') : c; });
    }
    std::vector<std::size_t> order(records);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return std::memcmp(&keys[a * nameWidth_], &keys[b * nameWidth_], nameWidth_) < 0;
    });
    ByteVector sorted;
    sorted.reserve(bytes_.size());
    for (std::size_t index : order) {
        const ConstByteSpan source = record(index);
        sorted.insert(sorted.end(), source.begin(), source.end());
    }
    bytes_ = std::move(sorted);
    firstByName_.clear();
    for (std::size_t i = 0; i < count(); ++i) {
        if (!isBlank(record(i))) {
            firstByName_.try_emplace(key(record(i)), i);
        }
    }
}

} // namespace keel
