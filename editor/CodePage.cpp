// SPDX-License-Identifier: MIT
#include "editor/CodePage.h"

#include "common/WindowsCodePage.h"

namespace keel {

QString textFromBytes(ConstByteSpan bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (Byte byte : bytes) {
        text.append(QChar(characterOfByte(byte)));
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
        const std::optional<Byte> byte = byteOfCharacter(character.unicode());
        if (!byte) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<char>(*byte));
    }
    return bytes;
}

} // namespace keel
