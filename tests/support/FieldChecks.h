// SPDX-License-Identifier: MIT
#pragma once

#include "common/Field.h"

#include <gtest/gtest.h>

#include <string>

namespace keel::test {

// Checks a field against the place the test itself says it has: a write through the
// descriptor changes exactly the bytes at `offset` to `expected` on a record filled with
// 0xEE, and a record built byte by byte with `expected` there reads back as `value`.
template <typename Field, typename Value>
void expectNumberFieldAt(const Field& field, std::size_t recordSize, std::size_t offset,
                         Value value, const ByteVector& expected, const std::string& label) {
    SCOPED_TRACE(label);
    ByteVector written(recordSize, 0xEE);
    field.write(written, static_cast<typename Field::Value>(value));
    ByteVector built(recordSize, 0xEE);
    ASSERT_LE(offset + expected.size(), recordSize);
    std::copy(expected.begin(), expected.end(), built.begin() + static_cast<std::ptrdiff_t>(offset));
    EXPECT_EQ(written, built);
    EXPECT_EQ(field.read(built), static_cast<typename Field::Value>(value));
}

template <typename Field>
void expectTextFieldAt(const Field& field, std::size_t recordSize, std::size_t offset,
                       std::size_t width, const std::string& label) {
    SCOPED_TRACE(label);
    EXPECT_EQ(field.width, width);
    EXPECT_EQ(field.maxLength(), width - 1);
    ByteVector written(recordSize, 0xEE);
    EXPECT_TRUE(field.write(written, "Ab", TextOverflow::Refuse));
    ByteVector built(recordSize, 0xEE);
    built[offset] = 'A';
    built[offset + 1] = 'b';
    built[offset + 2] = 0;
    EXPECT_EQ(written, built);
    EXPECT_EQ(field.read(built), "Ab");
    // The longest text that fits ends exactly at the field's last byte.
    ByteVector full(recordSize, 0xEE);
    EXPECT_TRUE(field.write(full, std::string(width - 1, 'x'), TextOverflow::Refuse));
    EXPECT_EQ(full[offset + width - 1], 0);
    if (offset + width < recordSize) {
        EXPECT_EQ(full[offset + width], 0xEE);
    }
    EXPECT_FALSE(field.write(full, std::string(width, 'y'), TextOverflow::Refuse));
    EXPECT_EQ(field.read(full), std::string(width - 1, 'x'));
}

} // namespace keel::test
