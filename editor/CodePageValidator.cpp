// SPDX-License-Identifier: MIT
#include "editor/CodePageValidator.h"

#include "editor/CodePage.h"

namespace keel {
namespace {

bool storable(QChar character) { return character != QChar(0) && bytesFromText(QString(character)).has_value(); }

} // namespace

QValidator::State CodePageValidator::validate(QString& input, int& position) const {
    if (bytesFromText(input) && !input.contains(QChar(0))) {
        return Acceptable;
    }
    QString kept;
    QString leftOut;
    int keptBeforeCursor = 0;
    for (qsizetype i = 0; i < input.size(); ++i) {
        if (storable(input[i])) {
            kept.append(input[i]);
            keptBeforeCursor += i < position ? 1 : 0;
        } else if (!input[i].isLowSurrogate() || i == 0 || !input[i - 1].isHighSurrogate()) {
            leftOut.append(input[i].isHighSurrogate() && i + 1 < input.size() ? input.mid(i, 2) : QString(input[i]));
        }
    }
    input = kept;
    position = keptBeforeCursor;
    // Validation is a question that Qt asks of a const validator; the answer tells the user.
    emit const_cast<CodePageValidator*>(this)->charactersLeftOut(leftOut);
    return Acceptable;
}

} // namespace keel
