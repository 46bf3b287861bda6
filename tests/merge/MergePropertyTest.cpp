// SPDX-License-Identifier: MIT
// The merge's index, its merging and its name order, compared on random records with plain
// algorithms written out here: a linear scan for the first record of a name, and a stable sort
// of names folded to lower case. The master is loaded at once or in steps, as its bytes come
// while it is read, and the index is asked to find a name or take a record in one search.
#include "merge/MergeTable.h"
#include "merge/RecordNameIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace keel {
namespace {

struct Layout {
    std::size_t recordSize;
    std::size_t nameWidth;
};

// An object record; records no longer than their name field, or shorter than the index reads
// at once; name fields of 21 to 24 bytes, and longer, whose names go past the sort's key.
constexpr Layout layouts[] = {{284, 20}, {32, 20}, {20, 20}, {23, 23}, {24, 24},
                              {30, 24},  {25, 21}, {9, 5},   {64, 40}};

std::string nameOf(ConstByteSpan record, std::size_t nameWidth) {
    std::string name;
    for (std::size_t i = 0; i < nameWidth && record[i] != 0; ++i) {
        name.push_back(static_cast<char>(record[i]));
    }
    return name;
}

// char_traits<char> compares as unsigned char, so std::string's < is the order wanted.
std::string folded(std::string name) {
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return name;
}

// Makes records whose names come from a small pool, so that names repeat, often in another
// letter case; names fill their field or share long beginnings; blank records carry bytes
// after their zero; and the bytes after every name are random, zeros among them.
class RecordMaker {
public:
    RecordMaker(Layout layout, std::mt19937& random, std::size_t poolSize)
        : layout_(layout), random_(random) {
        for (std::size_t i = 0; i < poolSize; ++i) {
            pool_.push_back(newName());
        }
    }

    ByteVector record() {
        ByteVector record(layout_.recordSize);
        for (Byte& byte : record) {
            byte = chance(4) ? 0 : anyByte();
        }
        if (chance(12)) {
            record[0] = 0;
            return record;
        }
        std::string name = pool_[below(pool_.size())];
        if (chance(2)) {
            for (char& c : name) {
                if (std::isalpha(static_cast<unsigned char>(c)) && c < 0x7F && chance(3)) {
                    c = static_cast<char>(c ^ 0x20);
                }
            }
        }
        std::copy(name.begin(), name.end(), record.begin());
        if (name.size() < layout_.nameWidth) {
            record[name.size()] = 0;
        }
        return record;
    }

    ByteVector records(std::size_t count) {
        ByteVector bytes;
        for (std::size_t i = 0; i < count; ++i) {
            const ByteVector one = record();
            bytes.insert(bytes.end(), one.begin(), one.end());
        }
        return bytes;
    }

    std::size_t below(std::size_t bound) {
        return std::uniform_int_distribution<std::size_t>(0, bound - 1)(random_);
    }
    bool chance(std::size_t oneIn) { return below(oneIn) == 0; }

private:
    // Letters of both cases, the bytes next to A-Z and a-z, and bytes above 127, among them
    // the Latin-1 capitals, which do not fold.
    Byte nameByte() {
        static const std::string bytes = "aAbBkKzZyY09 -_@[`{\x7F\x80\xC0\xC9\xDA\xE9\xFF\x01";
        return static_cast<Byte>(bytes[below(bytes.size())]);
    }
    Byte anyByte() { return static_cast<Byte>(below(256)); }

    std::string newName() {
        const std::size_t width = layout_.nameWidth;
        std::size_t length = 1 + below(width);
        if (chance(4)) {
            length = width;
        }
        std::string name;
        if (!pool_.empty() && chance(3)) {
            // A name that begins like another, or is the beginning of another.
            const std::string& other = pool_[below(pool_.size())];
            name = other.substr(0, std::min(other.size(), 1 + below(other.size())));
        } else if (chance(2)) {
            name = std::string(std::min(width, std::size_t{22}), 'K');
            name.resize(below(name.size() + 1));
        }
        while (name.size() < length) {
            name.push_back(static_cast<char>(nameByte()));
        }
        name.resize(std::min(name.size(), width));
        return name;
    }

    Layout layout_;
    std::mt19937& random_;
    std::vector<std::string> pool_;
};

// The merge as a list of records searched from the start for every record merged.
class ReferenceTable {
public:
    ReferenceTable(Layout layout, ConstByteSpan master) : layout_(layout) {
        for (std::size_t at = 0; at + layout.recordSize <= master.size(); at += layout.recordSize) {
            append(master.subspan(at, layout.recordSize));
        }
    }

    MergeTable::Outcome merge(ConstByteSpan record) {
        if (record[0] == 0) {
            return MergeTable::Outcome::Ignored;
        }
        const std::string name = nameOf(record, layout_.nameWidth);
        for (std::size_t i = 0; i < records_.size(); ++i) {
            if (records_[i][0] != 0 && names_[i] == name) {
                records_[i].assign(record.begin(), record.end());
                return MergeTable::Outcome::Replaced;
            }
        }
        append(record);
        return MergeTable::Outcome::Added;
    }

    std::vector<std::uint32_t> orderByName() const {
        std::vector<std::string> keys;
        for (const std::string& name : names_) {
            keys.push_back(folded(name));
        }
        std::vector<std::uint32_t> order(records_.size());
        std::iota(order.begin(), order.end(), 0u);
        std::stable_sort(order.begin(), order.end(),
                         [&](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });
        return order;
    }

    ByteVector bytes(const std::vector<std::uint32_t>& order) const {
        ByteVector bytes;
        for (std::uint32_t index : order) {
            bytes.insert(bytes.end(), records_[index].begin(), records_[index].end());
        }
        return bytes;
    }
    ByteVector bytes() const {
        std::vector<std::uint32_t> asMerged(records_.size());
        std::iota(asMerged.begin(), asMerged.end(), 0u);
        return bytes(asMerged);
    }

private:
    void append(ConstByteSpan record) {
        records_.emplace_back(record.begin(), record.end());
        names_.push_back(nameOf(record, layout_.nameWidth));
    }

    Layout layout_;
    std::vector<ByteVector> records_;
    std::vector<std::string> names_; // each record's name; a replacement keeps it
};

// Loads the master as keelmerge does while the master is read: its bytes come in pieces of any
// size, each time all of them so far, each time somewhere else.
void loadInSteps(MergeTable& table, const ByteVector& master, RecordMaker& maker) {
    table.beginMaster(master.size(), master.size() + maker.below(3000));
    std::size_t arrived = 0;
    while (arrived < master.size()) {
        arrived = std::min(master.size(), arrived + maker.below(4 * 284));
        const ByteVector soFar(master.begin(), master.begin() + static_cast<std::ptrdiff_t>(arrived));
        table.indexMaster(soFar);
    }
    table.endMaster(MergeTable::Buffer(master.data(), master.size()));
}

ByteVector bytesOf(const MergeTable& table) {
    return ByteVector(table.bytes().begin(), table.bytes().end());
}

// What the table writes, checking that records in name order go out in pieces of whole records
// no larger than asked, unless one record is larger.
ByteVector written(MergeTable& table, Layout layout, bool byName, std::size_t pieceSize) {
    ByteVector bytes;
    EXPECT_TRUE(table.writeTo(
        [&](ConstByteSpan piece) {
            if (byName) {
                EXPECT_LE(piece.size(), std::max(pieceSize, layout.recordSize));
                EXPECT_EQ(piece.size() % layout.recordSize, 0u);
            }
            bytes.insert(bytes.end(), piece.begin(), piece.end());
            return true;
        },
        pieceSize));
    return bytes;
}

std::string describe(Layout layout, int run) {
    return "record size " + std::to_string(layout.recordSize) + ", name width " +
           std::to_string(layout.nameWidth) + ", run " + std::to_string(run);
}

TEST(MergeProperties, TheIndexGivesTheFirstRecordIndexedUnderEachName) {
    std::mt19937 random(20240611);
    for (const Layout layout : layouts) {
        for (int run = 0; run < 250; ++run) {
            SCOPED_TRACE(describe(layout, run));
            RecordMaker maker(layout, random, 1 + random() % 60);
            RecordNameIndex index(layout.recordSize, layout.nameWidth);
            if (maker.chance(2)) {
                index.reserve(maker.below(200));
            }
            ByteVector records;
            std::map<std::string, std::size_t> firstByName;
            const std::size_t count = maker.below(maker.chance(10) ? 2000 : 200);
            for (std::size_t i = 0; i < count; ++i) {
                const ByteVector record = maker.record();
                const auto [first, isNew] =
                    firstByName.emplace(nameOf(record, layout.nameWidth), i);
                if (maker.chance(2)) {
                    // Found, or taken under its name before it is put in place.
                    ASSERT_EQ(index.findOrInsert(records, record.data(),
                                                 index.keyOf(record.data()), i),
                              isNew ? RecordNameIndex::none : first->second)
                        << "record " << i;
                    records.insert(records.end(), record.begin(), record.end());
                } else {
                    records.insert(records.end(), record.begin(), record.end());
                    ASSERT_EQ(index.insert(records, i), isNew) << "record " << i;
                }
            }
            EXPECT_EQ(index.size(), firstByName.size());

            for (int probe = 0; probe < 100; ++probe) {
                const ByteVector record = maker.record();
                const auto expected = firstByName.find(nameOf(record, layout.nameWidth));
                EXPECT_EQ(index.find(records, record.data()),
                          expected == firstByName.end() ? RecordNameIndex::none : expected->second)
                    << "probe " << nameOf(record, layout.nameWidth);
            }
        }
    }
}

TEST(MergeProperties, MergingAndOrderingAgreeWithAScanAndAStableSort) {
    std::mt19937 random(19950101);
    for (const Layout layout : layouts) {
        for (int run = 0; run < 250; ++run) {
            SCOPED_TRACE(describe(layout, run));
            // A few names over many records give large groups of names equal but for case.
            const bool crowded = random() % 8 == 0;
            RecordMaker maker(layout, random, crowded ? 1 + random() % 4 : 1 + random() % 80);
            const bool byName = maker.chance(4) ? false : true;
            MergeTable table(layout.recordSize, layout.nameWidth,
                             byName ? MergeTable::Order::ByName : MergeTable::Order::AsMerged);

            ByteVector master = maker.records(maker.below(crowded ? 400 : 150));
            ReferenceTable reference(layout, master);
            master.resize(master.size() + maker.below(layout.recordSize)); // a partial record
            if (maker.chance(2)) {
                loadInSteps(table, master, maker);
            } else {
                table.loadMaster(master);
            }
            ASSERT_EQ(bytesOf(table), reference.bytes()) << "the master as loaded";

            const std::size_t files = maker.below(5);
            for (std::size_t file = 0; file < files; ++file) {
                ByteVector records = maker.records(maker.below(crowded ? 200 : 120));
                std::vector<MergeTable::Outcome> expected;
                for (std::size_t at = 0; at < records.size(); at += layout.recordSize) {
                    expected.push_back(
                        reference.merge(ConstByteSpan(records).subspan(at, layout.recordSize)));
                }
                std::vector<MergeTable::Outcome> outcomes;
                if (maker.chance(3)) {
                    for (std::size_t at = 0; at < records.size(); at += layout.recordSize) {
                        outcomes.push_back(
                            table.merge(ConstByteSpan(records).subspan(at, layout.recordSize)));
                    }
                } else {
                    records.resize(records.size() + maker.below(layout.recordSize));
                    std::size_t at = 0;
                    table.mergeAll(records, [&](MergeTable::Outcome outcome, ConstByteSpan record) {
                        EXPECT_EQ(record.data(), records.data() + at) << "reported record";
                        at += layout.recordSize;
                        outcomes.push_back(outcome);
                    });
                }
                ASSERT_EQ(outcomes, expected) << "file " << file;
                ASSERT_EQ(bytesOf(table), reference.bytes()) << "after file " << file;
                // Ordering part-way leaves the table to be merged into and ordered again.
                if (byName && maker.chance(3)) {
                    ASSERT_EQ(table.orderByName(), reference.orderByName())
                        << "after file " << file;
                }
            }

            const std::size_t pieceSize = maker.chance(2) ? 1 + maker.below(3000) : 256 * 1024;
            if (byName) {
                const std::vector<std::uint32_t> order = reference.orderByName();
                EXPECT_EQ(table.orderByName(), order);
                EXPECT_EQ(written(table, layout, byName, pieceSize), reference.bytes(order));
            } else {
                EXPECT_EQ(written(table, layout, byName, pieceSize), reference.bytes());
            }
        }
    }
}

// Names that share beginnings of every length, across the words the sort's keys are made of,
// in groups large enough to be spread by byte: the order agrees with a stable sort of the
// folded names.
TEST(MergeProperties, NamesSharingLongBeginningsAreOrderedAsAStableSortWould) {
    std::mt19937 random(20260101);
    auto below = [&](std::size_t bound) {
        return std::uniform_int_distribution<std::size_t>(0, bound - 1)(random);
    };
    for (const Layout layout : layouts) {
        for (int run = 0; run < 40; ++run) {
            SCOPED_TRACE(describe(layout, run));
            // A few stems, each a run of one letter in either case, then a short tail.
            std::vector<std::string> stems;
            for (std::size_t i = 0; i < 1 + below(4); ++i) {
                const std::size_t length = below(layout.nameWidth + 1);
                std::string stem;
                for (std::size_t j = 0; j < length; ++j) {
                    stem.push_back(below(4) == 0 ? 'Q' : 'q');
                }
                stems.push_back(stem);
            }
            static const std::string tails = "aAqQzZ09 _\x7F\xC9";
            ByteVector master;
            const std::size_t count = 1 + below(below(4) == 0 ? 3000 : 400);
            for (std::size_t i = 0; i < count; ++i) {
                ByteVector record(layout.recordSize, static_cast<Byte>(below(256)));
                std::string name = stems[below(stems.size())];
                for (std::size_t tail = below(4); tail > 0; --tail) {
                    name.push_back(tails[below(tails.size())]);
                }
                name.resize(std::min(name.size(), layout.nameWidth));
                std::copy(name.begin(), name.end(), record.begin());
                if (name.size() < layout.nameWidth) {
                    record[name.size()] = 0;
                }
                master.insert(master.end(), record.begin(), record.end());
            }
            const ReferenceTable reference(layout, master);
            MergeTable table(layout.recordSize, layout.nameWidth, MergeTable::Order::ByName);
            table.loadMaster(master);
            EXPECT_EQ(table.orderByName(), reference.orderByName());
        }
    }
}

} // namespace
} // namespace keel
