// SPDX-License-Identifier: MIT
// keelcheck's index of the objects by name, asked for the types of names that several objects
// of differing types bear in differing letter case.
#include "check/NameIndex.h"
#include "objects/ObjectRecord.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace keel {
namespace {

using Objects = std::vector<std::pair<std::string, std::int16_t>>;

ByteVector objectFile(const Objects& objects) {
    ByteVector file(objects.size() * ObjectRecord::Size, 0);
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const ByteSpan record = ObjectFile::record(ByteSpan(file), i);
        ObjectRecord::ObjectName.write(record, objects[i].first, TextOverflow::Refuse);
        ObjectRecord::ObjType.write(record, objects[i].second);
    }
    return file;
}

std::string upper(std::string text) {
    for (char& c : text) {
        c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return text;
}

TEST(ObjectIndex, ANameHasTheTypesOfEveryObjectThatBearsItInAnyLetterCase) {
    const Objects table[] = {
        {{"Frigate", 1}, {"FRIGATE", 2}},
        {{"Tanker", 2}, {"frigate", 3}, {"Frigate", 1}, {"fRIGATE", 2}, {"tanker", 2}},
        {{"Mk48", 8}, {"Seahawk", 4}, {"MK48", 7}, {"mk48", 40}, {"SEAHAWK", 4}},
        {{"Pilot", 11}},
    };
    for (const Objects& objects : table) {
        const ByteVector file = objectFile(objects);
        const ObjectIndex index(file);
        for (const auto& object : objects) {
            const std::string& asked = object.first;
            std::uint16_t expected = 0;
            for (const auto& [name, type] : objects) {
                if (upper(name) == upper(asked)) {
                    expected |= ObjectIndex::typeBit(type);
                }
            }
            EXPECT_EQ(index.typesNamed(asked), expected) << asked;
        }
    }
}

} // namespace
} // namespace keel
