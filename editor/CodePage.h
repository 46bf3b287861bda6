// SPDX-License-Identifier: MIT
#pragma once

#include "common/Bytes.h"

#include <QString>

#include <optional>
#include <string>

namespace keel {

// The texts of the files as the windows show them, and back (see common/WindowsCodePage.h):
// a text that is shown and stored again is unchanged.
QString textFromBytes(ConstByteSpan bytes);
QString textFromBytes(const std::string& bytes);

// The bytes of a text, or nothing when it holds a character that the code page lacks.
std::optional<std::string> bytesFromText(const QString& text);

// The bytes of text typed into a box whose validator lets in only what the code page holds.
inline std::string typedBytes(const QString& text) { return bytesFromText(text).value_or(std::string()); }

} // namespace keel
