// SPDX-License-Identifier: MIT
#pragma once

#include <nlohmann/json.hpp>
#include <string_view>

namespace keel::test {

// A JSON document as a program under test printed it, its members in the order printed.
using JsonDocument = nlohmann::ordered_json;

// Parses strictly: anything that is not JSON (text that is not UTF-8, a trailing comma, a
// comment, an unescaped control character, a member named twice in one object, text after the
// value) throws, so a test that parses output also checks that it is JSON at all. Read the
// result with at(), which throws for a member or element that is not there.
JsonDocument parseJson(std::string_view text);

// Whether the bytes are well-formed UTF-8, as the JSON library judges them.
bool isWellFormedUtf8(std::string_view text);

} // namespace keel::test
