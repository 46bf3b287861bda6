// SPDX-License-Identifier: MIT
#pragma once

#include "carriers/CarrierList.h"
#include "fuzz/CountedWalk.h"
#include "fuzz/FuzzCheck.h"
#include "nations/NationList.h"

#include <algorithm>
#include <string>
#include <vector>

// The properties the readers of the two counted files keep, checked on any bytes, the same way
// for both: mission.db with its nation exchange files, and shipbasedaircraft.db with its carrier
// exchange files.

namespace keel::fuzz {

template <std::size_t N> bool sameBytes(const std::array<Byte, N>& record, ConstByteSpan expected) {
    return expected.size() == N && std::equal(record.begin(), record.end(), expected.begin());
}

// The bytes of a record in the file as the reader repairs them: its texts ended where they must
// end at the latest.
inline ByteVector recordAt(ConstByteSpan file, std::size_t at, std::size_t size,
                           std::span<const TextExtent> texts) {
    ByteVector record(file.begin() + static_cast<std::ptrdiff_t>(at),
                      file.begin() + static_cast<std::ptrdiff_t>(at + size));
    endTexts(record, texts);
    return record;
}

// The same for a record that counts the records after it, with a count of zero given as 1.
inline ByteVector countingRecordAt(ConstByteSpan file, std::size_t at, std::size_t size,
                                   std::size_t countOffset, std::span<const TextExtent> texts) {
    ByteVector record = recordAt(file, at, size, texts);
    if (int32At(record, countOffset) == 0) {
        record[countOffset] = 1;
    }
    return record;
}

// A name as import matches it: up to its terminator within the field, a-z as A-Z.
inline std::string foldedName(ConstByteSpan field) {
    std::string name;
    for (Byte c : field) {
        if (c == 0) {
            break;
        }
        name.push_back(static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c));
    }
    return name;
}

struct MissionFormat {
    using Block = Nation;
    using List = NationList;
    static constexpr const char* fileName = "mission.db";
    static inline const std::string block = "nation";
    static inline const std::string blocks = "nations";

    static CountedWalk walk(ConstByteSpan file) { return walkMissionFile(file); }
    static CountedFile<Nation> read(ConstByteSpan file, std::string_view name) {
        MissionDatabase read = readMissionDatabase(file, name);
        return {std::move(read.nations), std::move(read.report)};
    }
    static ByteVector write(std::span<const Nation> nations) {
        return writeMissionDatabase(nations);
    }
    static std::string name(const Nation& nation) {
        return NationRecord::CountryName.read(nation.record);
    }
    static std::string key(const Nation& nation) {
        return foldedName(ConstByteSpan(nation.record).first(256));
    }

    // Holds a nation read against the file's bytes from `at`, as the nation editor's Add
    // would have repaired it; gives where the nation ends in the file.
    static std::size_t checkBlock(const Nation& nation, ConstByteSpan file, std::size_t at) {
        KEEL_FUZZ_CHECK(
            sameBytes(nation.record, countingRecordAt(file, at, 264, 256, nationTexts)));
        const std::int32_t classes = int32At(file, at + 256);
        at += 264;
        if (classes == 0) {
            KEEL_FUZZ_CHECK(nation.classes.size() == 1);
            const NationClass added = newNationClass();
            KEEL_FUZZ_CHECK(nation.classes[0].record == added.record);
            KEEL_FUZZ_CHECK(nation.classes[0].platforms.size() == 1);
            KEEL_FUZZ_CHECK(nation.classes[0].platforms[0].record == added.platforms[0].record);
            return at;
        }
        KEEL_FUZZ_CHECK(nation.classes.size() == static_cast<std::size_t>(classes));
        for (const NationClass& nationClass : nation.classes) {
            KEEL_FUZZ_CHECK(
                sameBytes(nationClass.record, countingRecordAt(file, at, 536, 528, classTexts)));
            const std::int32_t platforms = int32At(file, at + 528);
            at += 536;
            if (platforms == 0) {
                KEEL_FUZZ_CHECK(nationClass.platforms.size() == 1);
                KEEL_FUZZ_CHECK(nationClass.platforms[0].record == newPlatform(nationClass).record);
                continue;
            }
            KEEL_FUZZ_CHECK(nationClass.platforms.size() == static_cast<std::size_t>(platforms));
            for (const Platform& platform : nationClass.platforms) {
                KEEL_FUZZ_CHECK(sameBytes(platform.record, recordAt(file, at, 516, platformTexts)));
                at += 516;
            }
        }
        return at;
    }

    // What the nation editor holds before an import: two nations whose names differ only in
    // letter case, one as Add makes it, and one without a name.
    static std::vector<Nation> startingBlocks() {
        std::vector<Nation> nations;
        for (const char* name : {"Aldermark", "New Country", "ALDERMARK", "", "Corvasse"}) {
            Nation nation = newNation();
            std::fill_n(nation.record.begin(), 256, Byte{0});
            NationRecord::CountryName.write(nation.record, name, TextOverflow::Cut);
            nation.classes.push_back(newNationClass());
            nations.push_back(std::move(nation));
        }
        return nations;
    }
};

struct CarrierFormat {
    using Block = Carrier;
    using List = CarrierList;
    static constexpr const char* fileName = "shipbasedaircraft.db";
    static inline const std::string block = "carrier";
    static inline const std::string blocks = "carriers";

    static CountedWalk walk(ConstByteSpan file) { return walkCarrierFile(file); }
    static CountedFile<Carrier> read(ConstByteSpan file, std::string_view name) {
        CarrierDatabase read = readCarrierDatabase(file, name);
        return {std::move(read.carriers), std::move(read.report)};
    }
    static ByteVector write(std::span<const Carrier> carriers) {
        return writeCarrierDatabase(carriers);
    }
    static std::string name(const Carrier& carrier) {
        return CarrierRecord::ObjectName.read(carrier.record);
    }
    // A carrier matches on its ship class and its nation together.
    static std::string key(const Carrier& carrier) {
        const ConstByteSpan record(carrier.record);
        return foldedName(record.subspan(256, 256)) + '\0' + foldedName(record.first(256));
    }

    static std::size_t checkBlock(const Carrier& carrier, ConstByteSpan file, std::size_t at) {
        KEEL_FUZZ_CHECK(
            sameBytes(carrier.record, countingRecordAt(file, at, 520, 512, carrierTexts)));
        const std::int32_t aircraftTypes = int32At(file, at + 512);
        at += 520;
        if (aircraftTypes == 0) {
            KEEL_FUZZ_CHECK(carrier.aircraftTypes.size() == 1);
            KEEL_FUZZ_CHECK(carrier.aircraftTypes[0].record == newAircraftType().record);
            return at;
        }
        KEEL_FUZZ_CHECK(carrier.aircraftTypes.size() == static_cast<std::size_t>(aircraftTypes));
        for (const AircraftType& aircraftType : carrier.aircraftTypes) {
            ByteVector expected = recordAt(file, at, 772, aircraftTypeTexts);
            const std::int32_t count = int32At(expected, aircraftCountOffset);
            if (aircraftCountOutOfRange(count)) {
                expected[aircraftCountOffset] = count < 1 ? 1 : 0xFF;
                expected[aircraftCountOffset + 1] = count < 1 ? 0 : 0x7F;
                expected[aircraftCountOffset + 2] = 0;
                expected[aircraftCountOffset + 3] = 0;
            }
            KEEL_FUZZ_CHECK(sameBytes(aircraftType.record, expected));
            at += 772;
        }
        return at;
    }

    // Carriers of one ship class of two nations, and of one nation written in two letter cases.
    static std::vector<Carrier> startingBlocks() {
        std::vector<Carrier> carriers;
        const std::pair<const char*, const char*> names[] = {{"Albatross CV", "Aldermark"},
                                                             {"New Class", ""},
                                                             {"ALBATROSS CV", "aldermark"},
                                                             {"Albatross CV", "Corvasse"},
                                                             {"", ""}};
        for (const auto& [shipClass, country] : names) {
            Carrier carrier = newCarrier();
            std::fill_n(carrier.record.begin(), 512, Byte{0});
            CarrierRecord::ObjectName.write(carrier.record, shipClass, TextOverflow::Cut);
            CarrierRecord::Country.write(carrier.record, country, TextOverflow::Cut);
            carrier.aircraftTypes.push_back(newAircraftType());
            carriers.push_back(std::move(carrier));
        }
        return carriers;
    }
};

// Import into an editor that holds the starting blocks: every earlier block of a key takes the
// last imported block of that key, the others are appended in file order, the names are those
// of the file, and a problem is told exactly when the file lost data.
template <typename Format>
void checkImport(ConstByteSpan file, const CountedWalk& walk,
                 const std::vector<typename Format::Block>& read) {
    const std::vector<typename Format::Block> starting = Format::startingBlocks();
    typename Format::List list;
    list.assign(Format::write(starting));
    const RecordCollection::ImportReport imported = list.import(file);

    KEEL_FUZZ_CHECK(imported.names.size() == read.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        KEEL_FUZZ_CHECK(imported.names[i] == Format::name(read[i]));
    }
    KEEL_FUZZ_CHECK(imported.problem.empty() == !walk.lostData());
    KEEL_FUZZ_CHECK(imported.problem.empty() || imported.problem.rfind("This file", 0) == 0);
    // The repairs are told exactly when there were any.
    KEEL_FUZZ_CHECK(imported.repairs.empty() == (walk.repairs == 0));
    KEEL_FUZZ_CHECK(imported.repairs.empty() || imported.repairs.rfind("This file", 0) == 0);

    std::vector<typename Format::Block> expected = starting;
    for (const auto& block : read) {
        bool matched = false;
        for (std::size_t i = 0; i < starting.size(); ++i) {
            if (Format::key(starting[i]) == Format::key(block)) {
                expected[i] = block;
                matched = true;
            }
        }
        if (!matched) {
            expected.push_back(block);
        }
    }
    const ByteVector after = list.fileBytes();
    KEEL_FUZZ_CHECK(after == Format::write(expected));

    // A block's snapshot puts it back as it is; bytes that are not one whole block (the fuzz
    // input after its count, read as the one block of a file) change it only when they are.
    ByteVector single(4, 0);
    single[0] = 1;
    if (file.size() >= 4) {
        single.insert(single.end(), file.begin() + 4, file.end());
    }
    const CountedWalk singleWalk = Format::walk(single);
    const CountedFile<typename Format::Block> singleRead = Format::read(single, "snapshot");
    for (std::size_t i = 0; i < std::min<std::size_t>(list.count(), 3); ++i) {
        const ByteVector original = list.snapshot(i);
        list.restore(i, original);
        KEEL_FUZZ_CHECK(list.fileBytes() == after);
        list.restore(i, ConstByteSpan(single).subspan(4));
        std::vector<typename Format::Block> restored = expected;
        if (!singleWalk.lostData()) {
            KEEL_FUZZ_CHECK(singleRead.blocks.size() == 1);
            restored[i] = singleRead.blocks[0];
        }
        KEEL_FUZZ_CHECK(list.fileBytes() == Format::write(restored));
        list.restore(i, original);
        KEEL_FUZZ_CHECK(list.fileBytes() == after);
    }
}

// Every property of one counted file: the blocks read are the whole blocks from the start, each
// as the file holds it; the report says what was repaired and what was lost, and nothing for a
// clean file; a clean file is written back byte for byte but for its link slots, which a writer
// zeroes in every file (and a file of no bytes is written as a count of zero); and what was
// read, written and read again is a clean file that writes the same bytes.
template <typename Format> void checkCountedFile(ConstByteSpan file) {
    const CountedWalk walk = Format::walk(file);
    const CountedFile<typename Format::Block> read = Format::read(file, Format::fileName);

    KEEL_FUZZ_CHECK(read.blocks.size() == walk.blockStarts.size());
    for (std::size_t i = 0; i < read.blocks.size(); ++i) {
        const std::size_t end = Format::checkBlock(read.blocks[i], file, walk.blockStarts[i]);
        KEEL_FUZZ_CHECK(end == (i + 1 < read.blocks.size() ? walk.blockStarts[i + 1] : walk.end));
    }

    const std::string text = read.report.text();
    KEEL_FUZZ_CHECK(read.report.clean() == walk.clean());
    checkReportText(walk, file.size(), text, read.report.repairCount(), read.report.lostData(),
                    Format::block, Format::blocks);
    KEEL_FUZZ_CHECK(text.empty() || text.rfind(Format::fileName, 0) == 0);

    const ByteVector written = Format::write(read.blocks);
    if (walk.clean()) {
        ByteVector expected(file.begin(), file.end());
        if (expected.empty()) {
            expected.assign(4, 0);
        }
        for (std::size_t slot : walk.linkSlots) {
            std::fill_n(expected.begin() + static_cast<std::ptrdiff_t>(slot), 4, Byte{0});
        }
        KEEL_FUZZ_CHECK(written == expected);
    }
    // The writer clears every link slot, whatever the blocks were read with.
    for (std::size_t slot : Format::walk(written).linkSlots) {
        KEEL_FUZZ_CHECK(int32At(written, slot) == 0);
    }
    const CountedFile<typename Format::Block> again = Format::read(written, Format::fileName);
    KEEL_FUZZ_CHECK(again.report.clean());
    KEEL_FUZZ_CHECK(again.blocks.size() == read.blocks.size());
    KEEL_FUZZ_CHECK(Format::write(again.blocks) == written);

    checkImport<Format>(file, walk, read.blocks);
}

} // namespace keel::fuzz
