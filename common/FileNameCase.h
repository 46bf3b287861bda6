// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <string_view>

namespace keel {

// File names as a file system that ignores letter case compares them: A-Z match a-z, every
// other byte only itself.
constexpr char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return asciiLower(x) == asciiLower(y);
           });
}

constexpr bool endsWithIgnoringAsciiCase(std::string_view text, std::string_view ending) {
    return text.size() >= ending.size() &&
           equalIgnoringAsciiCase(text.substr(text.size() - ending.size()), ending);
}

} // namespace keel
