// SPDX-License-Identifier: MIT
#pragma once

#include <QValidator>

namespace keel {

// Lets into an edit box only characters that the database files' code page can hold, so that
// no typed character can be lost or widen its field when it is stored. Characters it lacks are
// left out of what is typed or pasted, and the rest is taken; the editor tells the user which
// were left out.
class CodePageValidator : public QValidator {
    Q_OBJECT

public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override;

signals:
    void charactersLeftOut(const QString& characters);
};

} // namespace keel
