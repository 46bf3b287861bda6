// SPDX-License-Identifier: MIT
#include "check/NameIndex.h"

#include "common/Checks.h"
#include "common/NameCompare.h"
#include "objects/ObjectRecord.h"
#include "objects/ObjectTypes.h"

#include <limits>

namespace keel {
namespace {

std::string keyOfText(std::string_view text) {
    return editorNameKey(ConstByteSpan(reinterpret_cast<const Byte*>(text.data()), text.size()));
}

} // namespace

NameIndex::NameIndex(ConstByteSpan file, std::size_t recordSize, TextFieldSpec nameField) {
    const std::size_t count = file.size() / recordSize;
    check(count < std::numeric_limits<std::uint32_t>::max(), "more records than an index holds");
    first_.reserve(count);
    firstOf_.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const ConstByteSpan record = file.subspan(i * recordSize, recordSize);
        const auto [at, added] = first_.try_emplace(editorNameKey(nameField.bytes(record)),
                                                    static_cast<std::uint32_t>(i));
        firstOf_[i] = at->second;
    }
}

std::size_t NameIndex::find(std::string_view name) const {
    const auto found = first_.find(keyOfText(name));
    return found == first_.end() ? none : found->second;
}

ObjectIndex::ObjectIndex(ConstByteSpan objects)
    : names_(objects, ObjectRecord::Size, ObjectRecord::ObjectName),
      typesOfFirst_(names_.count(), 0) {
    for (std::size_t i = 0; i < names_.count(); ++i) {
        const int type = ObjectRecord::ObjType.read(ObjectFile::record(objects, i));
        typesOfFirst_[names_.firstOf(i)] |= typeBit(type);
    }
}

std::uint16_t ObjectIndex::typesNamed(std::string_view name) const {
    const std::size_t first = names_.find(name);
    return first == NameIndex::none ? 0 : typesOfFirst_[first];
}

std::uint16_t ObjectIndex::typeBit(int code) {
    return static_cast<std::uint16_t>(isKnownObjectType(code) ? (1u << code) : 1u);
}

std::string ObjectIndex::describeTypes(std::uint16_t types) {
    std::vector<std::string> names;
    for (int code = 1; code <= static_cast<int>(objectTypeTexts.size()); ++code) {
        if ((types & typeBit(code)) != 0) {
            names.emplace_back(*objectTypeText(code));
        }
    }
    if ((types & 1u) != 0) {
        names.emplace_back("unknown");
    }
    if (names.size() == 1) {
        if (names[0] == "unknown") {
            return "an object of a type code outside 1..11";
        }
        const bool vowel = names[0].find_first_of("AEIOU") == 0;
        return std::string(vowel ? "an " : "a ") + names[0];
    }
    std::string text = "objects of the types ";
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) {
            text += i + 1 == names.size() ? " and " : ", ";
        }
        text += names[i];
    }
    return text;
}

} // namespace keel
