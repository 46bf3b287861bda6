// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace keel {

// How the editors show numbers and read them back from what the user typed.

// A signed decimal whole number, blanks around it allowed; nothing for any other text.
std::optional<std::int64_t> parseWholeNumber(const QString& text);

// A decimal number in the user's number format, without digit grouping.
std::optional<double> parseDecimalNumber(const QString& text);

// A float widened to double and written with up to 15 significant digits in the user's number
// format, without digit grouping: a stored 0.3 shows as 0.300000011920929.
QString formatFloat(float value);

} // namespace keel
