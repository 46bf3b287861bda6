// SPDX-License-Identifier: MIT
#include "pickers/ListFileEntries.h"

#include "editor/CodePage.h"

namespace keel {

std::size_t ListFileEntries::count() const {
    return list().count();
}

QString ListFileEntries::line(std::size_t value) const {
    return QStringLiteral("%1: %2")
        .arg(static_cast<qulonglong>(value), 2, 10, QLatin1Char('0'))
        .arg(textFromBytes(list().name(value - 1)));
}

} // namespace keel
