#include "editor/CodePage.h"

#include <array>

namespace keel {
namespace {

// The characters of bytes 0x80 to 0x9F; every other byte is the character of the same number.
constexpr std::array<char16_t, 32> highControlRange{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QChar characterOf(Byte byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        return QChar(highControlRange[byte - 0x80]);
    }
    return QChar(static_cast<char16_t>(byte));
}

std::optional<Byte> byteOf(QChar character) {
    const char16_t code = character.unicode();
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
        return static_cast<Byte>(code);
    }
    for (std::size_t i = 0; i < highControlRange.size(); ++i) {
        if (highControlRange[i] == code) {
            return static_cast<Byte>(0x80 + i);
        }
    }
    return std::nullopt;
}

} // namespace

QString textFromBytes(ConstByteSpan bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (Byte byte : bytes) {
        text.append(characterOf(byte));
    }
    return text;
}

QString textFromBytes(const std::string& bytes) {
    return textFromBytes(ConstByteSpan(reinterpret_cast<const Byte*>(bytes.data()), bytes.size()));
}

std::optional<std::string> bytesFromText(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (QChar character : text) {
        const std::optional<Byte> byte = byteOf(character);
        if (!byte) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<char>(*byte));
    }
    return bytes;
}

} // namespace keel
