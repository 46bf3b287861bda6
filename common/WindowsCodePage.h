// SPDX-License-Identifier: MIT
#pragma once

#include "common/Bytes.h"

#include <optional>
#include <string>
#include <string_view>

namespace keel {

// Texts of the database files are 8-bit text in the Windows-1252 code page. Every byte maps to
// one character and back: the five bytes the code page leaves unassigned map to the control
// characters of the same number, so that no text is lost or merged with another.
char16_t characterOfByte(Byte byte);
// The byte of a character, or nothing when the code page lacks it.
std::optional<Byte> byteOfCharacter(char16_t character);

// A text of the files as UTF-8, for reports.
std::string utf8FromCodePage(std::string_view text);
// The same, appended to `out`.
void appendUtf8FromCodePage(std::string_view text, std::string& out);

// A UTF-8 text in the code page. `lacking` gets, once each and in order, the characters the
// code page lacks, as UTF-8; the text is then not given. Malformed UTF-8 gives nothing either,
// with `lacking` empty.
std::optional<std::string> codePageFromUtf8(std::string_view utf8, std::string& lacking);

} // namespace keel
