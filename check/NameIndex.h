// SPDX-License-Identifier: MIT
#pragma once

#include "common/Bytes.h"
#include "common/Field.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace keel {

// The names of a file of fixed-size records as the editor compares them (a-z folded to A-Z,
// up to the terminator and never beyond the name field), hashed so that a look-up costs the
// same whatever the number of records. Of several records of one name the first is the one
// found; the others are remembered as repeats of it.
class NameIndex {
public:
    static constexpr std::size_t none = static_cast<std::size_t>(-1);

    NameIndex() = default;
    NameIndex(ConstByteSpan file, std::size_t recordSize, TextFieldSpec nameField);

    std::size_t count() const { return firstOf_.size(); }
    // The first record named `name` (a text as a file holds it), or none.
    std::size_t find(std::string_view name) const;
    // The first record that bears record `index`'s name: `index` itself unless it repeats one.
    std::size_t firstOf(std::size_t index) const { return firstOf_[index]; }

private:
    std::unordered_map<std::string, std::uint32_t> first_;
    std::vector<std::uint32_t> firstOf_;
};

// The objects of objects.odb by name, with the types that the objects of each name have.
class ObjectIndex {
public:
    ObjectIndex() = default;
    explicit ObjectIndex(ConstByteSpan objects);

    const NameIndex& names() const { return names_; }
    // The types of the objects named `name` as bits (1 << code, bit 0 for a code outside
    // 1..11); 0 when no object bears the name.
    std::uint16_t typesNamed(std::string_view name) const;

    static std::uint16_t typeBit(int code);
    // "a Surf", "an Air", "objects of the types Sub and Surf", for a finding's sentence.
    static std::string describeTypes(std::uint16_t types);

private:
    NameIndex names_;
    std::vector<std::uint16_t> typesOfFirst_; // for each record, the types of its name if first
};

} // namespace keel
