#include "merge/MergeTable.h"

#include "common/NameCompare.h"

#include <algorithm>
#include <cassert>
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
    std::vector<std::size_t> order(count());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
        return compareMergeNames(name(record(a)), name(record(b))) < 0;
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
