#include "editor/CodePageValidator.h"

#include "editor/CodePage.h"

namespace keel {

QValidator::State CodePageValidator::validate(QString& input, int&) const {
    return bytesFromText(input) && !input.contains(QChar(0)) ? Acceptable : Invalid;
}

} // namespace keel
