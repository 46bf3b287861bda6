// SPDX-License-Identifier: MIT
#pragma once

#include "common/FieldTable.h"
#include "common/RecordFile.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace keel {

// One record of launcher.ldb: a weapon mount such as a gun, a missile or a torpedo tube.
struct LauncherRecord {
    static constexpr std::size_t Size = 196;

    static constexpr TextFieldSpec LauncherName{0, 20};
    static constexpr ReservedField Reserved{20, 2};
    static constexpr NumberField<std::int16_t> tubes{22};
    static constexpr NumberField<std::int16_t> centre{24};
    static constexpr NumberField<std::int16_t> cone{26};
    static constexpr BitSetField<std::uint16_t> characteristics{28};
    static constexpr NumberField<std::int16_t> load{30};
    static constexpr NumberField<std::int16_t> swap{32};
    static constexpr TextFieldSpec weap0{34, 20};
    static constexpr TextFieldSpec weap1{54, 20};
    static constexpr TextFieldSpec weap2{74, 20};
    static constexpr TextFieldSpec weap3{94, 20};
    static constexpr TextFieldSpec SoundFile{114, 20};
    static constexpr NumberField<std::int16_t> quant0{134};
    static constexpr NumberField<std::int16_t> quant1{136};
    static constexpr NumberField<std::int16_t> quant2{138};
    static constexpr NumberField<std::int16_t> quant3{140};
    static constexpr NumberField<std::int16_t> rdsPerMin{142};
    static constexpr NumberField<std::int32_t> magazine{144};
    static constexpr NumberField<float> centx{148};
    static constexpr NumberField<float> centy{152};
    static constexpr NumberField<float> centz{156};
    static constexpr NumberField<float> x1{160};
    static constexpr NumberField<float> y1{164};
    static constexpr NumberField<float> z1{168};
    static constexpr NumberField<float> x2{172};
    static constexpr NumberField<float> y2{176};
    static constexpr NumberField<float> z2{180};
    static constexpr NumberField<std::int16_t> hRel{184};
    static constexpr NumberField<std::int16_t> pRel{186};
    static constexpr NumberField<std::int16_t> rows{188};
    static constexpr NumberField<std::int16_t> cols{190};
    static constexpr NumberField<std::uint32_t> maxNumRdsGuideable{192};

    // The four ammunition types in order, each with its round count.
    static constexpr std::array<TextFieldSpec, 4> ammunitionTypes{weap0, weap1, weap2, weap3};
    static constexpr std::array<NumberField<std::int16_t>, 4> roundCounts{quant0, quant1, quant2,
                                                                          quant3};

};

// The launcher record's fields, with the limits of the launcher editor's controls.
inline constexpr std::array launcherFields{
    describe::text("LauncherName", LauncherRecord::LauncherName),
    describe::reserved("Reserved", LauncherRecord::Reserved),
    describe::number("tubes", LauncherRecord::tubes, 0, 32767),
    describe::number("centre", LauncherRecord::centre, 0, 359),
    describe::number("cone", LauncherRecord::cone, 0, 180),
    describe::bits("characteristics", LauncherRecord::characteristics),
    describe::number("load", LauncherRecord::load, 0, 32767),
    describe::number("swap", LauncherRecord::swap, 0, 32767),
    describe::text("weap0", LauncherRecord::weap0),
    describe::text("weap1", LauncherRecord::weap1),
    describe::text("weap2", LauncherRecord::weap2),
    describe::text("weap3", LauncherRecord::weap3),
    describe::text("SoundFile", LauncherRecord::SoundFile),
    describe::number("quant0", LauncherRecord::quant0, 0, 32767),
    describe::number("quant1", LauncherRecord::quant1, 0, 32767),
    describe::number("quant2", LauncherRecord::quant2, 0, 32767),
    describe::number("quant3", LauncherRecord::quant3, 0, 32767),
    describe::number("rdsPerMin", LauncherRecord::rdsPerMin, 0, 32767),
    describe::number("magazine", LauncherRecord::magazine, 0, 32767),
    describe::number("centx", LauncherRecord::centx, 0, 32767),
    describe::number("centy", LauncherRecord::centy, 0, 32767),
    describe::number("centz", LauncherRecord::centz, 0, 32767),
    describe::number("x1", LauncherRecord::x1, 0, 32767),
    describe::number("y1", LauncherRecord::y1, 0, 32767),
    describe::number("z1", LauncherRecord::z1, 0, 32767),
    describe::number("x2", LauncherRecord::x2, 0, 32767),
    describe::number("y2", LauncherRecord::y2, 0, 32767),
    describe::number("z2", LauncherRecord::z2, 0, 32767),
    describe::number("hRel", LauncherRecord::hRel, 0, 359),
    describe::number("pRel", LauncherRecord::pRel, 0, 90),
    describe::number("rows", LauncherRecord::rows),
    describe::number("cols", LauncherRecord::cols),
    describe::number("maxNumRdsGuideable", LauncherRecord::maxNumRdsGuideable, 0, 255),
};

static_assert(fieldsArePacked(launcherFields, LauncherRecord::Size));

using LauncherFile = FixedRecords<LauncherRecord::Size>;

// The two characteristic flags the editor offers; the other bits are kept as read.
struct LauncherCharacteristic {
    std::uint16_t bit;
    std::string_view control;
    std::string_view caption;
};

inline constexpr std::array<LauncherCharacteristic, 2> launcherCharacteristics{{
    {0x0001, "fixed1", "Rotatable"},
    {0x0004, "fixed4", "Requires FCS"},
}};

} // namespace keel
