// SPDX-License-Identifier: MIT
#include "text/Diff.h"

#include "common/FieldText.h"
#include "text/LosslessFile.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <functional>
#include <limits>
#include <vector>

namespace keel {
namespace {

constexpr std::size_t none = std::numeric_limits<std::size_t>::max();

// A record where it lies, with the records nested below it.
struct RecordView {
    ConstByteSpan bytes;
    std::span<const RecordView> children;
};

using RecordList = std::span<const RecordView>;

// A file's records as views into its bytes: fixed records straight over the bytes (no record
// is copied), counted blocks through the lossless model of the file, which they point into.
class FileRecords {
public:
    FileRecords(const RecordKindInfo& kind, ConstByteSpan bytes) {
        if (kind.counted) {
            model_ = readLosslessFile(kind.kind, bytes);
            records = viewsOf(model_.records);
            trailing = model_.trailing;
            if (model_.hasCount) {
                count =
                    model_.storedCount.value_or(static_cast<std::int64_t>(model_.records.size()));
            }
            damaged = model_.storedCount.has_value() || !model_.hasCount;
            return;
        }
        const std::size_t size = kind.recordSize();
        std::vector<RecordView>& list = lists_.emplace_back(bytes.size() / size);
        for (std::size_t i = 0; i < list.size(); ++i) {
            list[i].bytes = bytes.subspan(i * size, size);
        }
        records = list;
        trailing = bytes.subspan(list.size() * size);
    }
    FileRecords(const FileRecords&) = delete;
    FileRecords& operator=(const FileRecords&) = delete;

    RecordList records;
    ConstByteSpan trailing;
    // Of a counted file: the count it holds (none when it is too short to hold one), and
    // whether that is not the number of blocks read.
    std::optional<std::int64_t> count;
    bool damaged = false;

private:
    RecordList viewsOf(const std::vector<StoredRecord>& stored) {
        if (stored.empty()) {
            return {};
        }
        std::vector<RecordView>& list = lists_.emplace_back();
        list.reserve(stored.size());
        for (const StoredRecord& record : stored) {
            list.push_back({record.bytes, viewsOf(record.children)});
        }
        return list;
    }

    LosslessFile model_;
    std::deque<std::vector<RecordView>> lists_; // a deque, so that no list moves
};

bool sameBytes(ConstByteSpan a, ConstByteSpan b) {
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size()) == 0);
}

bool sameRecords(RecordList a, RecordList b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!sameBytes(a[i].bytes, b[i].bytes) || !sameRecords(a[i].children, b[i].children)) {
            return false;
        }
    }
    return true;
}

// A text field's bytes up to its terminator, as stored: what records are matched by.
std::string_view storedText(const FieldInfo* field, ConstByteSpan record) {
    if (field == nullptr) {
        return {};
    }
    const char* at = reinterpret_cast<const char*>(record.data() + field->offset);
    return {at, ::strnlen(at, field->width())};
}

struct Key {
    std::string_view owner;
    std::string_view name;
    bool operator==(const Key&) const = default;
};

struct KeyHash {
    std::size_t operator()(const Key& key) const noexcept {
        const std::hash<std::string_view> hash;
        return hash(key.name) ^ (hash(key.owner) * 0x9E3779B97F4A7C15ull);
    }
};

// The records of two lists of one level paired by key: the n-th record of a key in A with the
// n-th of that key in B.
struct KeyMatch {
    std::vector<std::size_t> partnerOfA; // B's index, or none
    std::vector<bool> matchedInB;
    std::vector<std::size_t> occurrenceInA, occurrenceInB;
    std::vector<bool> repeatsInA, repeatsInB;
};

// What is known of a key while two lists are matched.
struct Holders {
    std::size_t inA = 0;
    std::size_t inB = 0;
    std::size_t nextInB = none; // the first record of B of this key not matched yet
};

// The keys of two lists with their holders: a hash table of open addressing, which allocates
// nothing per key.
class KeyTable {
public:
    explicit KeyTable(std::size_t keys) {
        std::size_t slots = 16;
        while (slots < 2 * keys) {
            slots *= 2;
        }
        slots_.assign(slots, 0);
        entries_.reserve(keys);
    }

    // The number of the key's entry, made when the key is new; no more than `keys` keys.
    std::size_t find(const Key& key) {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t slot = KeyHash{}(key)&mask;; slot = (slot + 1) & mask) {
            const std::size_t held = slots_[slot];
            if (held == 0) {
                entries_.push_back({key, Holders{}});
                slots_[slot] = entries_.size();
                return entries_.size() - 1;
            }
            if (entries_[held - 1].first == key) {
                return held - 1;
            }
        }
    }
    Holders& operator[](std::size_t entry) { return entries_[entry].second; }

private:
    std::vector<std::size_t> slots_; // an entry's number + 1, or 0 for a free slot
    std::vector<std::pair<Key, Holders>> entries_;
};

KeyMatch matchByKey(const RecordLevel& level, RecordList a, RecordList b) {
    const FieldInfo* keyField = findField(level.fields, level.keyField);
    const FieldInfo* ownerField = findField(level.fields, level.ownerField);
    const auto keyOf = [&](const RecordView& record) {
        return Key{storedText(ownerField, record.bytes), storedText(keyField, record.bytes)};
    };
    KeyTable holders(a.size() + b.size());
    std::vector<std::size_t> holdersOfA(a.size()), holdersOfB(b.size());
    std::vector<std::size_t> laterOfKey(b.size(), none);

    KeyMatch match{std::vector<std::size_t>(a.size(), none),
                   std::vector<bool>(b.size()),
                   std::vector<std::size_t>(a.size()),
                   std::vector<std::size_t>(b.size()),
                   std::vector<bool>(a.size()),
                   std::vector<bool>(b.size())};
    // B from its end, so that each key's chain of records runs in B's order.
    for (std::size_t j = b.size(); j-- > 0;) {
        holdersOfB[j] = holders.find(keyOf(b[j]));
        Holders& holder = holders[holdersOfB[j]];
        laterOfKey[j] = holder.nextInB;
        holder.nextInB = j;
        match.occurrenceInB[j] = ++holder.inB; // counted from the end until all are known
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        holdersOfA[i] = holders.find(keyOf(a[i]));
        Holders& holder = holders[holdersOfA[i]];
        match.occurrenceInA[i] = ++holder.inA;
        if (holder.nextInB != none) {
            match.partnerOfA[i] = holder.nextInB;
            match.matchedInB[holder.nextInB] = true;
            holder.nextInB = laterOfKey[holder.nextInB];
        }
    }
    const auto repeats = [](const Holders& holder) {
        return holder.inA > 1 || holder.inB > 1;
    };
    for (std::size_t i = 0; i < a.size(); ++i) {
        match.repeatsInA[i] = repeats(holders[holdersOfA[i]]);
    }
    for (std::size_t j = 0; j < b.size(); ++j) {
        const Holders& holder = holders[holdersOfB[j]];
        match.occurrenceInB[j] = holder.inB - match.occurrenceInB[j] + 1;
        match.repeatsInB[j] = repeats(holder);
    }
    return match;
}

// Of the records of A that have a partner, those of a longest run, in A's order, whose
// partners follow one another in B's order too: the others are told as moved.
std::vector<bool> keepingTheirOrder(const std::vector<std::size_t>& partnerOfA) {
    std::vector<std::size_t> runEnds; // the record ending the run of each length that ends lowest
    std::vector<std::size_t> before(partnerOfA.size(), none);
    for (std::size_t i = 0; i < partnerOfA.size(); ++i) {
        if (partnerOfA[i] == none) {
            continue;
        }
        const auto at = std::lower_bound(
            runEnds.begin(), runEnds.end(), partnerOfA[i],
            [&](std::size_t end, std::size_t partner) { return partnerOfA[end] < partner; });
        before[i] = at == runEnds.begin() ? none : *(at - 1);
        if (at == runEnds.end()) {
            runEnds.push_back(i);
        } else {
            *at = i;
        }
    }
    std::vector<bool> keeps(partnerOfA.size());
    for (std::size_t i = runEnds.empty() ? none : runEnds.back(); i != none; i = before[i]) {
        keeps[i] = true;
    }
    return keeps;
}

Difference differenceOf(Change change) {
    Difference difference;
    difference.change = change;
    return difference;
}

class Differ {
public:
    Differ(std::string_view file, const RecordKindInfo& kind, DifferenceSink& sink)
        : file_(file), kind_(kind), sink_(sink) {
        path_.reserve(kind.levels.size());
    }

    std::size_t told() const { return told_; }

    void tell(Difference difference) {
        difference.file = file_;
        difference.record = path_;
        sink_.add(difference);
        ++told_;
    }

    void compareLists(std::size_t level, RecordList a, RecordList b) {
        if (sameRecords(a, b)) {
            return;
        }
        if (kind_.match == RecordMatch::ByPosition) {
            comparePositions(level, a, b);
        } else {
            compareKeys(level, a, b);
        }
    }

private:
    void comparePositions(std::size_t level, RecordList a, RecordList b) {
        const RecordLevel& shape = kind_.levels[level];
        for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
            const RecordView* inA = i < a.size() ? &a[i] : nullptr;
            const RecordView* inB = i < b.size() ? &b[i] : nullptr;
            if (inA != nullptr && inB != nullptr && sameRecords({inA, 1}, {inB, 1})) {
                continue;
            }
            RecordStep step{&shape,
                            inA ? inA->bytes : ConstByteSpan(),
                            inB ? inB->bytes : ConstByteSpan(),
                            inA ? i + 1 : 0,
                            inB ? i + 1 : 0,
                            true,
                            1,
                            false};
            Within within(*this, step);
            if (inA == nullptr || inB == nullptr) {
                tell(differenceOf(inA ? Change::OnlyInA : Change::OnlyInB));
            } else {
                compareRecords(level, *inA, *inB);
            }
        }
    }

    void compareKeys(std::size_t level, RecordList a, RecordList b) {
        const RecordLevel& shape = kind_.levels[level];
        const KeyMatch match = matchByKey(shape, a, b);
        const std::vector<bool> keeps = keepingTheirOrder(match.partnerOfA);
        for (std::size_t i = 0; i < a.size(); ++i) {
            const std::size_t j = match.partnerOfA[i];
            if (j == none || (keeps[i] && sameRecords(a.subspan(i, 1), b.subspan(j, 1)))) {
                continue;
            }
            Within within(*this, {&shape, a[i].bytes, b[j].bytes, i + 1, j + 1, false,
                                  match.occurrenceInA[i], match.repeatsInA[i]});
            if (!keeps[i]) {
                Difference moved = differenceOf(Change::Moved);
                moved.numberInA = static_cast<std::int64_t>(i + 1);
                moved.numberInB = static_cast<std::int64_t>(j + 1);
                tell(moved);
            }
            compareRecords(level, a[i], b[j]);
        }
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (match.partnerOfA[i] == none) {
                Within within(*this, {&shape,
                                      a[i].bytes,
                                      {},
                                      i + 1,
                                      0,
                                      false,
                                      match.occurrenceInA[i],
                                      match.repeatsInA[i]});
                tell(differenceOf(Change::OnlyInA));
            }
        }
        for (std::size_t j = 0; j < b.size(); ++j) {
            if (!match.matchedInB[j]) {
                Within within(*this, {&shape,
                                      {},
                                      b[j].bytes,
                                      0,
                                      j + 1,
                                      false,
                                      match.occurrenceInB[j],
                                      match.repeatsInB[j]});
                tell(differenceOf(Change::OnlyInB));
            }
        }
    }

    void compareRecords(std::size_t level, const RecordView& a, const RecordView& b) {
        const RecordLevel& shape = kind_.levels[level];
        if (!sameBytes(a.bytes, b.bytes)) {
            compareFields(shape, a, b);
        }
        if (shape.hasChildren()) {
            compareLists(level + 1, a.children, b.children);
        }
    }

    // One difference for each value that reads differently; one more for all other bytes that
    // differ. A count of nested records follows from them, which are compared on their own.
    void compareFields(const RecordLevel& shape, const RecordView& a, const RecordView& b) {
        bool otherBytesDiffer = false;
        for (const FieldInfo& field : shape.fields) {
            const ConstByteSpan inA = a.bytes.subspan(field.offset, field.width());
            const ConstByteSpan inB = b.bytes.subspan(field.offset, field.width());
            if (sameBytes(inA, inB)) {
                continue;
            }
            if (&field == shape.countField) {
                otherBytesDiffer = otherBytesDiffer || a.children.size() == b.children.size();
                continue;
            }
            if (!shape.isValue(field)) {
                otherBytesDiffer = true;
                continue;
            }
            for (std::size_t element = 0; element < field.count; ++element) {
                const std::size_t at = element * field.elementWidth;
                if (sameBytes(inA.subspan(at, field.elementWidth),
                              inB.subspan(at, field.elementWidth))) {
                    continue;
                }
                Difference changed = differenceOf(Change::Field);
                changed.valueInA = fieldValueText(field, a.bytes, element);
                changed.valueInB = fieldValueText(field, b.bytes, element);
                if (changed.valueInA == changed.valueInB) {
                    otherBytesDiffer = true; // after a text's terminator
                    continue;
                }
                changed.field = &field;
                changed.element = field.isArray() ? std::optional(element + 1) : std::nullopt;
                tell(std::move(changed));
            }
        }
        if (otherBytesDiffer) {
            tell(differenceOf(Change::OtherBytes));
        }
    }

    // A record step on the path for as long as it lives.
    class Within {
    public:
        Within(Differ& differ, const RecordStep& step) : differ_(differ) {
            differ_.path_.push_back(step);
        }
        ~Within() { differ_.path_.pop_back(); }
        Within(const Within&) = delete;
        Within& operator=(const Within&) = delete;

    private:
        Differ& differ_;
    };

    std::string_view file_;
    const RecordKindInfo& kind_;
    DifferenceSink& sink_;
    std::vector<RecordStep> path_;
    std::size_t told_ = 0;
};

} // namespace

std::size_t diffFiles(std::string_view file, RecordKind kindOfBoth, ConstByteSpan a,
                      ConstByteSpan b, DifferenceSink& sink) {
    const RecordKindInfo& kind = recordKind(kindOfBoth);
    const FileRecords inA(kind, a);
    const FileRecords inB(kind, b);
    Differ differ(file, kind, sink);
    differ.compareLists(0, inA.records, inB.records);

    // A count that is not that of the blocks read: the records alone do not tell it.
    if ((inA.damaged || inB.damaged) && inA.count != inB.count) {
        Difference counts = differenceOf(Change::StoredCount);
        counts.numberInA = inA.count;
        counts.numberInB = inB.count;
        differ.tell(counts);
    }
    if (!sameBytes(inA.trailing, inB.trailing)) {
        Difference trailing = differenceOf(Change::TrailingBytes);
        trailing.numberInA = static_cast<std::int64_t>(inA.trailing.size());
        trailing.numberInB = static_cast<std::int64_t>(inB.trailing.size());
        differ.tell(trailing);
    }
    // Whatever the walk above could miss, the files are not called equal when they are not.
    if (differ.told() == 0 && !sameBytes(a, b)) {
        differ.tell(differenceOf(Change::OtherBytes));
    }
    return differ.told();
}

} // namespace keel
