// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace keel::test {

// A JSON value as a program under test printed it. Parsing is strict: anything that is not
// JSON (text that is not UTF-8, a trailing comma, an unescaped control character, text after the
// value) throws, so a test that parses output also checks that it is JSON at all.
// Whether the bytes are well-formed UTF-8, as the C library's own converter judges them.
bool isWellFormedUtf8(std::string_view text);

class Json {
public:
    using Object = std::map<std::string, Json>;
    using Array = std::vector<Json>;

    static Json parse(std::string_view text);

    bool isNull() const { return std::holds_alternative<std::nullptr_t>(value_); }
    bool isString() const { return std::holds_alternative<std::string>(value_); }
    bool isNumber() const { return std::holds_alternative<std::int64_t>(value_); }
    bool isArray() const { return std::holds_alternative<Array>(value_); }
    bool isObject() const { return std::holds_alternative<Object>(value_); }

    // Each throws when the value is of another kind, or the member or element is not there.
    const std::string& string() const { return std::get<std::string>(value_); }
    std::int64_t number() const { return std::get<std::int64_t>(value_); }
    const Array& array() const { return std::get<Array>(value_); }
    const Object& object() const { return std::get<Object>(value_); }
    const Json& operator[](const std::string& member) const { return object().at(member); }
    const Json& operator[](std::size_t index) const { return array().at(index); }

private:
    friend class JsonParser;
    std::variant<std::nullptr_t, bool, std::int64_t, std::string, Array, Object> value_;
};

} // namespace keel::test
