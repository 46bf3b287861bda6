// SPDX-License-Identifier: MIT
#pragma once

// Large database sets for the benchmarks: N objects, a 3D object for every object but every
// tenth, N/5 launchers, and the sample set's nations, carriers, sensors and airstrips.
#include "ScratchDirectory.h"

#include "common/Bytes.h"
#include "launchers/LauncherRecord.h"
#include "objects/ObjectRecord.h"
#include "set/DatabaseSet.h"
#include "threed/ThreeDRecord.h"
#include "tools/SampleSet.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace keel::bench {

// Objects named "Object 0000000" onwards; every fifth is a weapon, which the launcher editor
// offers as ammunition, the others ships.
inline ByteVector objectFile(std::size_t count, Byte fill = 0) {
    ByteVector file(count * ObjectRecord::Size, fill);
    for (std::size_t i = 0; i < count; ++i) {
        char name[20];
        std::snprintf(name, sizeof name, "Object %07u", static_cast<unsigned>(i % 10000000));
        const ByteSpan record = ByteSpan(file).subspan(i * ObjectRecord::Size, ObjectRecord::Size);
        ObjectRecord::ObjectName.write(record, name, TextOverflow::Refuse);
        ObjectRecord::ObjType.write(record, static_cast<std::int16_t>(i % 5 == 0 ? 7 : 2));
    }
    return file;
}

// Which objects have a 3D object of their name.
enum class ThreeDFor {
    NineInTen,   // every object but every tenth, so that a tenth of the objects lack one
    EveryObject, // as in a finished set
};

inline ByteVector threeDFile(const ByteVector& objects, ThreeDFor which = ThreeDFor::NineInTen) {
    const std::size_t count = objects.size() / ObjectRecord::Size;
    ByteVector file;
    file.reserve(count * ThreeDRecord::Size);
    for (std::size_t i = 0; i < count; ++i) {
        if (which == ThreeDFor::NineInTen && i % 10 == 0) {
            continue;
        }
        ByteVector record(ThreeDRecord::Size, 0x33);
        const std::string name =
            ObjectRecord::ObjectName.read(ConstByteSpan(objects).subspan(i * ObjectRecord::Size, ObjectRecord::Size));
        ThreeDRecord::Name.write(record, name, TextOverflow::Refuse);
        file.insert(file.end(), record.begin(), record.end());
    }
    return file;
}

// Launchers named "Launcher 000000" onwards, each loaded with the first weapon.
inline ByteVector launcherFile(std::size_t count) {
    ByteVector file(count * LauncherRecord::Size, 0);
    for (std::size_t i = 0; i < count; ++i) {
        char name[20];
        std::snprintf(name, sizeof name, "Launcher %06u", static_cast<unsigned>(i % 1000000));
        const ByteSpan record = ByteSpan(file).subspan(i * LauncherRecord::Size, LauncherRecord::Size);
        LauncherRecord::LauncherName.write(record, name, TextOverflow::Refuse);
        LauncherRecord::weap0.write(record, "Object 0000000", TextOverflow::Refuse);
    }
    return file;
}

inline void writeFile(const std::filesystem::path& path, const ByteVector& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

// Writes a set of `objects` objects into `directory`; returns the bytes of the seven files.
inline std::size_t writeLargeSet(const std::filesystem::path& directory, std::size_t objects,
                                 ThreeDFor threeD = ThreeDFor::NineInTen) {
    std::filesystem::create_directories(directory);
    std::size_t total = 0;
    for (SampleFile& sample : buildSampleSet()) {
        switch (sample.file) {
        case DatabaseFile::Objects:
            sample.bytes = objectFile(objects);
            break;
        case DatabaseFile::ThreeDObjects:
            sample.bytes = threeDFile(objectFile(objects), threeD);
            break;
        case DatabaseFile::Launchers:
            sample.bytes = launcherFile(objects / 5);
            break;
        default:
            break;
        }
        writeFile(directory / fileName(sample.file), sample.bytes);
        total += sample.bytes.size();
    }
    return total;
}

} // namespace keel::bench
