// SPDX-License-Identifier: MIT
// Writes the fuzz targets' seed corpora, a few small files each, from the formats' own writers:
//   keel_fuzz_seeds fuzz/corpus
// Each target's inputs are described at the top of its source.
#include "carriers/SbaDb.h"
#include "editor/RecordTable.h"
#include "fuzz/ScratchDirectory.h"
#include "launchers/LauncherRecord.h"
#include "nations/MissionDb.h"
#include "objects/ObjectRecord.h"
#include "text/CsvText.h"
#include "text/JsonText.h"
#include "threed/ThreeDRecord.h"

#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

using namespace keel;
namespace fs = std::filesystem;

Nation nationNamed(std::string_view name, std::size_t classes, std::size_t platforms) {
    Nation nation = newNation();
    std::fill_n(nation.record.begin(), 256, Byte{0});
    NationRecord::CountryName.write(nation.record, name, TextOverflow::Cut);
    nation.classes.clear();
    for (std::size_t c = 0; c < classes; ++c) {
        NationClass nationClass = newNationClass();
        ClassRecord::Class_TagName.write(nationClass.record, "Halberd DDG", TextOverflow::Cut);
        nationClass.platforms.clear();
        for (std::size_t p = 0; p < platforms; ++p) {
            Platform platform = newPlatform(nationClass);
            PlatformRecord::Name.write(platform.record, "Partisan", TextOverflow::Cut);
            PlatformRecord::HullNum.write(platform.record, static_cast<std::int32_t>(101 + p));
            nationClass.platforms.push_back(platform);
        }
        nation.classes.push_back(std::move(nationClass));
    }
    return nation;
}

Carrier carrierNamed(std::string_view shipClass, std::string_view country, std::size_t types) {
    Carrier carrier = newCarrier();
    std::fill_n(carrier.record.begin(), 512, Byte{0});
    CarrierRecord::ObjectName.write(carrier.record, shipClass, TextOverflow::Cut);
    CarrierRecord::Country.write(carrier.record, country, TextOverflow::Cut);
    carrier.aircraftTypes.clear();
    for (std::size_t t = 0; t < types; ++t) {
        AircraftType type = newAircraftType();
        AircraftTypeRecord::TagName.write(type.record, "Falcon FA-2", TextOverflow::Cut);
        AircraftTypeRecord::Num.write(type.record, 12);
        carrier.aircraftTypes.push_back(type);
    }
    return carrier;
}

// Records of one of the fixed-size formats as the editors' Add makes them, named as given.
ByteVector records(std::size_t recordSize, std::size_t nameWidth,
                   std::initializer_list<std::string_view> names) {
    RecordTable table(recordSize, TextFieldSpec{0, nameWidth});
    for (std::string_view name : names) {
        table.appendNamed(name);
    }
    return table.fileBytes();
}

ByteVector cut(ByteVector bytes, std::size_t length) {
    bytes.resize(length);
    return bytes;
}

// A control byte, 16-bit little-endian lengths of all pieces but the last, then the pieces.
ByteVector framed(std::uint8_t control, const std::vector<ByteVector>& pieces) {
    ByteVector framed{control};
    for (std::size_t i = 0; i + 1 < pieces.size(); ++i) {
        framed.push_back(static_cast<Byte>(pieces[i].size() & 0xFF));
        framed.push_back(static_cast<Byte>(pieces[i].size() >> 8));
    }
    for (const ByteVector& piece : pieces) {
        framed.insert(framed.end(), piece.begin(), piece.end());
    }
    return framed;
}

// A control byte, then the bytes.
ByteVector controlled(std::uint8_t control, ConstByteSpan bytes) {
    ByteVector input{control};
    input.insert(input.end(), bytes.begin(), bytes.end());
    return input;
}

// A control byte that picks the kind (and with 0x80 the JSON form), then the file's text.
ByteVector textOf(RecordKind kind, const ByteVector& file, bool json) {
    const LosslessFile lossless = readLosslessFile(kind, file);
    const std::string text = json ? jsonTextOf(lossless, false) : csvTextOf(lossless, false);
    return controlled(static_cast<std::uint8_t>(static_cast<unsigned>(kind) | (json ? 0x80u : 0u)),
                      ConstByteSpan(reinterpret_cast<const Byte*>(text.data()), text.size()));
}

ByteVector missions(std::initializer_list<Nation> nations) {
    const std::vector<Nation> list(nations);
    return writeMissionDatabase(list);
}

ByteVector carriers(std::initializer_list<Carrier> carriers) {
    const std::vector<Carrier> list(carriers);
    return writeCarrierDatabase(list);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: keel_fuzz_seeds CORPUS_DIRECTORY\n");
        return 2;
    }
    const fs::path corpus = argv[1];
    auto seed = [&](const std::string& target, const std::string& name, const ByteVector& bytes) {
        fs::create_directories(corpus / target);
        keel::fuzz::writeFile(corpus / target / name, bytes);
    };

    const ByteVector oneNation = missions({nationNamed("Aldermark", 1, 1)});
    seed("mission", "no-nations.db", missions({}));
    seed("mission", "one-nation.db", oneNation);
    seed("mission", "repaired-and-matching.db",
         missions({nationNamed("CORVASSE", 0, 0), nationNamed("aldermark", 1, 0)}));
    // Texts without their terminators and a designation of 11 characters, which readers cut.
    Nation unended = nationNamed("Aldermark", 1, 1);
    std::fill_n(unended.record.begin(), 256, Byte{'N'});
    std::fill_n(unended.classes[0].record.begin() + 260, 256 + 11, Byte{'C'});
    std::fill_n(unended.classes[0].platforms[0].record.begin(), 256, Byte{'P'});
    seed("mission", "unended-texts.db", missions({unended}));
    seed("mission", "ends-early.db",
         cut(missions({nationNamed("Corvasse", 1, 1), nationNamed("Tessaly", 1, 1)}), 1320 + 600));

    const ByteVector oneCarrier = carriers({carrierNamed("Albatross CV", "Aldermark", 1)});
    seed("carriers", "no-carriers.db", carriers({}));
    seed("carriers", "one-carrier.db", oneCarrier);
    seed(
        "carriers", "repaired-and-matching.db",
        carriers({carrierNamed("New Class", "", 0), carrierNamed("albatross cv", "ALDERMARK", 1)}));
    // Numbers of aircraft outside 1..32767 and an aircraft name without its terminator.
    Carrier outOfRange = carrierNamed("Albatross CV", "Aldermark", 3);
    AircraftTypeRecord::Num.write(outOfRange.aircraftTypes[0].record, 0);
    AircraftTypeRecord::Num.write(outOfRange.aircraftTypes[1].record, 99999);
    std::fill_n(outOfRange.aircraftTypes[2].record.begin(), 256, Byte{'T'});
    seed("carriers", "out-of-range.db", carriers({outOfRange}));
    seed("carriers", "ends-early.db",
         cut(carriers({carrierNamed("Petrel LHA", "Corvasse", 1),
                       carrierNamed("Petrel LHA", "Tessaly", 1)}),
             1296 + 700));

    seed("list_files", "sensors.sdb", records(152, 40, {"Hull Sonar", "Towed Array"}));
    seed("list_files", "airstrip.adb", records(116, 40, {"Flight Deck", "Helicopter Pad"}));
    ByteVector fullName = records(152, 40, {std::string(40, 'S')});
    fullName.resize(fullName.size() + 10, 'x');
    seed("list_files", "name-fills-field.sdb", fullName);

    // Launchers merged; objects read in the master, sorted, with a partial record; a 3D object
    // imported.
    seed("record_import", "launchers.bin",
         framed(1, {records(LauncherRecord::Size, 20, {"PIKE SSK", "Tube Mk 4"})}));
    seed("record_import", "objects-shared-sorted.bin",
         framed(0x14, {cut(records(ObjectRecord::Size, 20, {"Halberd DDG", "x"}),
                           ObjectRecord::Size + 100)}));
    seed("record_import", "threed-import.bin",
         framed(0x0A, {records(ThreeDRecord::Size, 20, {"New Record"})}));

    // Launchers with one exchange file; objects with two; 3D objects without a master.
    seed("merge", "launchers.bin",
         framed(0, {records(LauncherRecord::Size, 20, {"GUN", "TUBE"}),
                    {},
                    records(LauncherRecord::Size, 20, {"GUN", "", "Mount"})}));
    seed("merge", "objects-two-files.bin",
         framed(1 + 3, {records(ObjectRecord::Size, 20, {"Tanker"}),
                        records(ObjectRecord::Size, 20, {"Oiler"}),
                        records(ObjectRecord::Size, 20, {"oiler", "Tanker"})}));
    seed("merge", "threed-no-master.bin",
         framed(2 + 3 * 2, {{}, {}, records(ThreeDRecord::Size, 20, {"Sub"})}));
    // Objects whose names are spelt anew in letters of both cases.
    seed("merge", "objects-in-letters.bin",
         framed(1 + 3 * 16, {records(ObjectRecord::Size, 20, {"Tanker", "Frigate", "Oiler"}),
                             {},
                             records(ObjectRecord::Size, 20, {"Harpoon", "Seahawk", "Pilot"})}));

    // Seven files in load order: objects, launchers, carriers, nations, 3D objects, sensors,
    // airstrips.
    seed("database_set", "sound-set.bin",
         framed(0, {records(ObjectRecord::Size, 20, {"Halberd DDG"}),
                    records(LauncherRecord::Size, 20, {"GUN"}), oneCarrier, oneNation,
                    records(ThreeDRecord::Size, 20, {"Halberd DDG"}),
                    records(152, 40, {"Hull Sonar"}), records(116, 40, {"Flight Deck"})}));
    seed("database_set", "damaged-set.bin",
         framed(0,
                {{}, {}, ByteVector{1, 0}, missions({nationNamed("Corvasse", 0, 0)}), {}, {}, {}}));
    seed("database_set", "missing-nations.bin",
         framed(0x83, {{}, {}, carriers({}), {}, {}, {}, {}}));

    // The same framing for keelcheck: a set whose objects' slots name records of their lists,
    // nothing, and records beyond them; a set whose 3D objects pair with no object; a set
    // without its launchers.
    ByteVector slotted = records(ObjectRecord::Size, 20, {"Halberd DDG", "Pike SSK"});
    const ByteSpan halberd = ByteSpan(slotted).first(ObjectRecord::Size);
    ObjectRecord::LauncherSlots.write(halberd, 0, 1);
    ObjectRecord::LauncherSlots.write(halberd, 1, 2);
    ObjectRecord::LauncherSlots.write(halberd, 29, -1);
    ObjectRecord::SensorSlots.write(halberd, 0, 1);
    ObjectRecord::AirstripSlots.write(halberd, 9, 3);
    seed("check_set", "slots.bin",
         framed(0, {slotted, records(LauncherRecord::Size, 20, {"GUN", "GUN"}), oneCarrier, oneNation,
                    records(ThreeDRecord::Size, 20, {"halberd ddg", "Pike"}),
                    records(152, 40, {"Hull Sonar"}), records(116, 40, {"Flight Deck", "Pad"})}));
    seed("check_set", "sound-set.bin",
         framed(0, {records(ObjectRecord::Size, 20, {"Halberd DDG"}),
                    records(LauncherRecord::Size, 20, {"GUN"}), oneCarrier, oneNation,
                    records(ThreeDRecord::Size, 20, {"Halberd DDG"}),
                    records(152, 40, {"Hull Sonar"}), records(116, 40, {"Flight Deck"})}));
    seed("check_set", "no-launchers.bin", framed(0x81, {slotted, {}, {}, oneNation, {}, {}, {}}));

    // Files of each kind for their text forms (a control byte picks the kind, in the order of
    // recordKinds()), whole, damaged and with bytes after their records; and their texts.
    const ByteVector objects = records(ObjectRecord::Size, 20, {"Halberd DDG", std::string(20, 'W')});
    const ByteVector endedEarly = cut(missions({nationNamed("Corvasse", 1, 2)}), 1320 + 600);
    const auto kindByte = [](RecordKind kind) { return static_cast<std::uint8_t>(kind); };
    seed("text_file", "objects.bin", controlled(kindByte(RecordKind::Objects), cut(objects, objects.size() + 9)));
    seed("text_file", "slotted-objects.bin", controlled(kindByte(RecordKind::Objects), slotted));
    seed("text_file", "launchers.bin",
         controlled(kindByte(RecordKind::Launchers), records(LauncherRecord::Size, 20, {"GUN", "Tube Mk 4"})));
    seed("text_file", "nations.bin", controlled(kindByte(RecordKind::Nations), missions({unended})));
    seed("text_file", "nations-ended-early.bin", controlled(kindByte(RecordKind::Nations), endedEarly));
    seed("text_file", "carriers.bin", controlled(kindByte(RecordKind::Carriers), carriers({outOfRange})));
    seed("text_file", "sensors.bin", controlled(kindByte(RecordKind::Sensors), fullName));
    // Pairs of files of a kind for diff: records changed, gone, added, moved, damaged.
    seed("diff", "objects.bin",
         framed(kindByte(RecordKind::Objects),
                {slotted, records(ObjectRecord::Size, 20, {"Pike SSK", "Halberd DDG", "Halberd DDG"})}));
    seed("diff", "launchers.bin", framed(kindByte(RecordKind::Launchers),
                                         {records(LauncherRecord::Size, 20, {"GUN", "Tube Mk 4"}),
                                          records(LauncherRecord::Size, 20, {"GUN"})}));
    seed("diff", "nations.bin", framed(kindByte(RecordKind::Nations), {missions({unended}), endedEarly}));
    seed("diff", "carriers.bin", framed(kindByte(RecordKind::Carriers), {carriers({outOfRange}), oneCarrier}));
    seed("diff", "sensors.bin", framed(kindByte(RecordKind::Sensors), {fullName, cut(fullName, fullName.size() - 3)}));
    seed("text_import", "objects.csv", textOf(RecordKind::Objects, objects, false));
    seed("text_import", "objects.json", textOf(RecordKind::Objects, objects, true));
    seed("text_import", "sensors.csv", textOf(RecordKind::Sensors, fullName, false));
    seed("text_import", "nations.json", textOf(RecordKind::Nations, endedEarly, true));
    seed("text_import", "carriers.json", textOf(RecordKind::Carriers, oneCarrier, true));
    return 0;
}
