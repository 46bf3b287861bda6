// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace keel {

// The text as well-formed UTF-8: each byte that does not begin a well-formed sequence (a stray
// continuation byte, an overlong form, a surrogate, a value beyond U+10FFFF, a sequence cut
// short) becomes U+FFFD, the replacement character; everything else is kept as it is.
std::string wellFormedUtf8(std::string_view text);

// The characters of a UTF-8 text, or nothing when it is not well-formed.
std::optional<std::u32string> utf8Characters(std::string_view text);

} // namespace keel
