// SPDX-License-Identifier: MIT
#include "common/WindowsCodePage.h"

#include "common/Utf8.h"

#include <algorithm>
#include <array>

namespace keel {
namespace {

// The characters of bytes 0x80 to 0x9F; every other byte is the character of the same number.
constexpr std::array<char16_t, 32> highControlRange{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void appendUtf8(std::string& out, char16_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

char16_t characterOfByte(Byte byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        return highControlRange[byte - 0x80];
    }
    return static_cast<char16_t>(byte);
}

std::optional<Byte> byteOfCharacter(char16_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) {
        return static_cast<Byte>(character);
    }
    for (std::size_t i = 0; i < highControlRange.size(); ++i) {
        if (highControlRange[i] == character) {
            return static_cast<Byte>(0x80 + i);
        }
    }
    return std::nullopt;
}

std::string utf8FromCodePage(std::string_view text) {
    std::string out;
    appendUtf8FromCodePage(text, out);
    return out;
}

void appendUtf8FromCodePage(std::string_view text, std::string& out) {
    const bool ascii = std::all_of(text.begin(), text.end(), [](char byte) { return static_cast<Byte>(byte) < 0x80; });
    if (ascii) {
        out += text;
        return;
    }
    out.reserve(out.size() + text.size() * 2);
    for (char byte : text) {
        appendUtf8(out, characterOfByte(static_cast<Byte>(byte)));
    }
}

std::optional<std::string> codePageFromUtf8(std::string_view utf8, std::string& lacking) {
    lacking.clear();
    const std::optional<std::u32string> characters = utf8Characters(utf8);
    if (!characters) {
        return std::nullopt;
    }
    std::string bytes;
    bytes.reserve(characters->size());
    std::u32string missing;
    for (char32_t character : *characters) {
        const std::optional<Byte> byte =
            character <= 0xFFFF ? byteOfCharacter(static_cast<char16_t>(character)) : std::nullopt;
        if (byte) {
            bytes += static_cast<char>(*byte);
        } else if (missing.find(character) == std::u32string::npos) {
            missing += character;
        }
    }
    if (missing.empty()) {
        return bytes;
    }
    for (char32_t character : missing) {
        // Only the code page's own characters were taken above, so these are written out here.
        if (character < 0x800) {
            lacking += static_cast<char>(0xC0 | (character >> 6));
        } else if (character < 0x10000) {
            lacking += static_cast<char>(0xE0 | (character >> 12));
            lacking += static_cast<char>(0x80 | ((character >> 6) & 0x3F));
        } else {
            lacking += static_cast<char>(0xF0 | (character >> 18));
            lacking += static_cast<char>(0x80 | ((character >> 12) & 0x3F));
            lacking += static_cast<char>(0x80 | ((character >> 6) & 0x3F));
        }
        lacking += static_cast<char>(0x80 | (character & 0x3F));
    }
    return std::nullopt;
}

} // namespace keel
