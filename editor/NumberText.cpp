// SPDX-License-Identifier: MIT
#include "editor/NumberText.h"

#include <QLocale>

namespace keel {

std::optional<std::int64_t> parseWholeNumber(const QString& text) {
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok, 10);
    if (!ok) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> parseDecimalNumber(const QString& text) {
    // Only the user's own format: read in the C format as well, "1.000" typed by a German user
    // would silently become 1. Digit grouping is refused, as the numbers are shown without it.
    QLocale user;
    user.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = user.toDouble(text.trimmed(), &ok);
    if (!ok) {
        return std::nullopt;
    }
    return value;
}

QString formatFloat(float value) {
    QLocale user;
    user.setNumberOptions(QLocale::OmitGroupSeparator);
    return user.toString(static_cast<double>(value), 'g', 15);
}

} // namespace keel
