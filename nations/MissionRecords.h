// SPDX-License-Identifier: MIT
#pragma once

#include "common/FieldTable.h"
#include "nations/LimitedTextField.h"

#include <array>
#include <cstdint>
#include <vector>

namespace keel {

// The three records of mission.db and of nation exchange files. A nation block is a nation
// record, then for each of its classes a class record followed by that class's platform
// records. The link slots carry nothing in a file; a writer stores zero there.

struct NationRecord {
    static constexpr std::size_t Size = 264;

    static constexpr TextFieldSpec CountryName{0, 256};
    static constexpr NumberField<std::int32_t> numClasses{256};
    static constexpr ReservedField ClassesLink{260, 4};
};

struct ClassRecord {
    static constexpr std::size_t Size = 536;
    static constexpr std::size_t DesignationLimit = 9;

    // An object type code, as in objects.odb; only Sub, Surf, Air and Shell make sense here,
    // but any code is kept.
    static constexpr NumberField<std::int32_t> ObjType{0};
    static constexpr TextFieldSpec Class_TagName{4, 256};
    static constexpr TextFieldSpec ClassName{260, 256};
    static constexpr LimitedTextField Designation{516, 12, DesignationLimit};
    static constexpr NumberField<std::int32_t> numObjects{528};
    static constexpr ReservedField PlatformsLink{532, 4};
};

struct PlatformRecord {
    static constexpr std::size_t Size = 516;

    static constexpr TextFieldSpec Platform_TagName{0, 256};
    static constexpr TextFieldSpec Name{256, 256};
    static constexpr NumberField<std::int32_t> HullNum{512};
};

// The fields of the three records, with the limits of the nation editor's controls. The link
// slots carry nothing in a file.
inline constexpr std::array nationFields{
    describe::text("CountryName", NationRecord::CountryName),
    describe::number("numClasses", NationRecord::numClasses, 1, 32767),
    describe::reserved("ClassesLink", NationRecord::ClassesLink),
};

inline constexpr std::array classFields{
    describe::number("ObjType", ClassRecord::ObjType, 1, 11),
    describe::text("Class_TagName", ClassRecord::Class_TagName),
    describe::text("ClassName", ClassRecord::ClassName),
    describe::text("Designation", {ClassRecord::Designation.offset, ClassRecord::Designation.width},
                   ClassRecord::DesignationLimit),
    describe::number("numObjects", ClassRecord::numObjects, 1, 32767),
    describe::reserved("PlatformsLink", ClassRecord::PlatformsLink),
};

inline constexpr std::array platformFields{
    describe::text("Platform_TagName", PlatformRecord::Platform_TagName),
    describe::text("Name", PlatformRecord::Name),
    describe::number("HullNum", PlatformRecord::HullNum, -1, 32767),
};

static_assert(fieldsArePacked(nationFields, NationRecord::Size));
static_assert(fieldsArePacked(classFields, ClassRecord::Size));
static_assert(fieldsArePacked(platformFields, PlatformRecord::Size));

// A nation as the nation editor holds it: every record keeps the bytes it was read with, so
// bytes no field names survive. The lists are the truth about the counts; a writer stores
// their lengths in numClasses and numObjects.
struct Platform {
    std::array<Byte, PlatformRecord::Size> record{};
};

struct NationClass {
    std::array<Byte, ClassRecord::Size> record{};
    std::vector<Platform> platforms;
};

struct Nation {
    std::array<Byte, NationRecord::Size> record{};
    std::vector<NationClass> classes;
};

// What the nation editor's Add creates: "New Country" with one Surf class "New Class", which
// has one platform without names and with hull number -1.
Nation newNation();
NationClass newNationClass();
// A platform added to a class: it carries the class's object name unless the class is of
// aircraft, whose platforms each name their own object.
Platform newPlatform(const NationClass& nationClass);

} // namespace keel
