#pragma once

#include <QValidator>

namespace keel {

// Lets into an edit box only characters that the database files' code page can hold, so that
// no typed character can be lost or widen its field when it is stored.
class CodePageValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override;
};

} // namespace keel
