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
    const QString trimmed = text.trimmed();
    QLocale user;
    user.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    double value = user.toDouble(trimmed, &ok);
    if (!ok) {
        value = QLocale::c().toDouble(trimmed, &ok);
    }
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
