// SPDX-License-Identifier: MIT
#include "text/Diff.h"

#include "common/Checks.h"
#include "common/FieldText.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>
#include <unordered_map>
#include <vector>

namespace keel {
namespace {

constexpr std::size_t none = std::numeric_limits<std::size_t>::max();

// A text field's bytes up to its terminator, as stored: what records are matched by.
std::string_view storedText(const FieldInfo* field, const ByteVector& record) {
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

KeyMatch matchByKey(const RecordLevel& level, const std::vector<StoredRecord>& a,
                    const std::vector<StoredRecord>& b) {
    struct Holders {
        std::size_t inA = 0;
        std::size_t inB = 0;
        std::size_t nextInB = none; // the first record of B of this key not matched yet
    };
    const FieldInfo* keyField = findField(level.fields, level.keyField);
    const FieldInfo* ownerField = findField(level.fields, level.ownerField);
    const auto keyOf = [&](const StoredRecord& record) {
        return Key{storedText(ownerField, record.bytes), storedText(keyField, record.bytes)};
    };
    std::unordered_map<Key, Holders, KeyHash> holders;
    holders.reserve(a.size() + b.size());
    std::vector<const Holders*> holdersOfA(a.size()), holdersOfB(b.size());
    std::vector<std::size_t> laterOfKey(b.size(), none);

    KeyMatch match{std::vector<std::size_t>(a.size(), none),
                   std::vector<bool>(b.size()),
                   std::vector<std::size_t>(a.size()),
                   std::vector<std::size_t>(b.size()),
                   std::vector<bool>(a.size()),
                   std::vector<bool>(b.size())};
    // B from its end, so that each key's chain of records runs in B's order.
    for (std::size_t j = b.size(); j-- > 0;) {
        Holders& holder = holders[keyOf(b[j])];
        laterOfKey[j] = holder.nextInB;
        holder.nextInB = j;
        match.occurrenceInB[j] = ++holder.inB; // counted from the end until all are known
        holdersOfB[j] = &holder;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        Holders& holder = holders[keyOf(a[i])];
        match.occurrenceInA[i] = ++holder.inA;
        holdersOfA[i] = &holder;
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
        match.repeatsInA[i] = repeats(*holdersOfA[i]);
    }
    for (std::size_t j = 0; j < b.size(); ++j) {
        match.occurrenceInB[j] = holdersOfB[j]->inB - match.occurrenceInB[j] + 1;
        match.repeatsInB[j] = repeats(*holdersOfB[j]);
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

bool sameBytes(ConstByteSpan a, ConstByteSpan b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size()) == 0;
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

    void compareLists(std::size_t level, const std::vector<StoredRecord>& a,
                      const std::vector<StoredRecord>& b) {
        if (a == b) {
            return;
        }
        if (kind_.match == RecordMatch::ByPosition) {
            comparePositions(level, a, b);
        } else {
            compareKeys(level, a, b);
        }
    }

private:
    void comparePositions(std::size_t level, const std::vector<StoredRecord>& a,
                          const std::vector<StoredRecord>& b) {
        const RecordLevel& shape = kind_.levels[level];
        for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
            const StoredRecord* inA = i < a.size() ? &a[i] : nullptr;
            const StoredRecord* inB = i < b.size() ? &b[i] : nullptr;
            if (inA != nullptr && inB != nullptr && *inA == *inB) {
                continue;
            }
            RecordStep step{&shape,
                            inA ? &inA->bytes : nullptr,
                            inB ? &inB->bytes : nullptr,
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

    void compareKeys(std::size_t level, const std::vector<StoredRecord>& a,
                     const std::vector<StoredRecord>& b) {
        const RecordLevel& shape = kind_.levels[level];
        const KeyMatch match = matchByKey(shape, a, b);
        const std::vector<bool> keeps = keepingTheirOrder(match.partnerOfA);
        for (std::size_t i = 0; i < a.size(); ++i) {
            const std::size_t j = match.partnerOfA[i];
            if (j == none || (keeps[i] && a[i] == b[j])) {
                continue;
            }
            Within within(*this, {&shape, &a[i].bytes, &b[j].bytes, i + 1, j + 1, false,
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
                Within within(*this, {&shape, &a[i].bytes, nullptr, i + 1, 0, false,
                                      match.occurrenceInA[i], match.repeatsInA[i]});
                tell(differenceOf(Change::OnlyInA));
            }
        }
        for (std::size_t j = 0; j < b.size(); ++j) {
            if (!match.matchedInB[j]) {
                Within within(*this, {&shape, nullptr, &b[j].bytes, 0, j + 1, false,
                                      match.occurrenceInB[j], match.repeatsInB[j]});
                tell(differenceOf(Change::OnlyInB));
            }
        }
    }

    void compareRecords(std::size_t level, const StoredRecord& a, const StoredRecord& b) {
        const RecordLevel& shape = kind_.levels[level];
        if (a.bytes != b.bytes) {
            compareFields(shape, a, b);
        }
        if (shape.hasChildren()) {
            compareLists(level + 1, a.children, b.children);
        }
    }

    // One difference for each value that reads differently; one more for all other bytes that
    // differ. A count of nested records follows from them, which are compared on their own.
    void compareFields(const RecordLevel& shape, const StoredRecord& a, const StoredRecord& b) {
        bool otherBytesDiffer = false;
        for (const FieldInfo& field : shape.fields) {
            const ConstByteSpan inA = ConstByteSpan(a.bytes).subspan(field.offset, field.width());
            const ConstByteSpan inB = ConstByteSpan(b.bytes).subspan(field.offset, field.width());
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

std::optional<std::int64_t> countAsStored(const LosslessFile& file) {
    if (!file.hasCount) {
        return std::nullopt;
    }
    return file.storedCount.value_or(static_cast<std::int64_t>(file.records.size()));
}

} // namespace

std::size_t diffFiles(std::string_view file, const LosslessFile& a, const LosslessFile& b,
                      DifferenceSink& sink) {
    check(a.kind == b.kind, "two files of one kind");
    const RecordKindInfo& kind = recordKind(a.kind);
    Differ differ(file, kind, sink);
    differ.compareLists(0, a.records, b.records);

    // A count that is not that of the blocks read: the records alone do not tell it.
    const bool countsOfTheirOwn = a.storedCount || b.storedCount || a.hasCount != b.hasCount;
    if (kind.counted && countsOfTheirOwn && countAsStored(a) != countAsStored(b)) {
        Difference counts = differenceOf(Change::StoredCount);
        counts.numberInA = countAsStored(a);
        counts.numberInB = countAsStored(b);
        differ.tell(counts);
    }
    if (a.trailing != b.trailing) {
        Difference trailing = differenceOf(Change::TrailingBytes);
        trailing.numberInA = static_cast<std::int64_t>(a.trailing.size());
        trailing.numberInB = static_cast<std::int64_t>(b.trailing.size());
        differ.tell(trailing);
    }
    // Whatever the walk above could miss, the files are not called equal when they are not.
    if (differ.told() == 0 && !(a == b)) {
        differ.tell(differenceOf(Change::OtherBytes));
    }
    return differ.told();
}

} // namespace keel
