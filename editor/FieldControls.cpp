// SPDX-License-Identifier: MIT
#include "editor/FieldControls.h"

#include "editor/CodePageValidator.h"
#include "editor/NumberText.h"

#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVariant>

#include <algorithm>
#include <limits>

namespace keel {

SpinField makeSpinField(QWidget* parent, const QString& name, int minimum, int maximum) {
    auto* row = new QWidget(parent);
    auto* edit = new QLineEdit(row);
    edit->setObjectName(name);
    edit->setMaximumWidth(70);
    auto* arrows = new ArrowControl(row);
    arrows->setObjectName("UpDown_" + name);
    arrows->setRange(minimum, maximum);
    arrows->setBuddy(edit);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(edit);
    layout->addWidget(arrows);
    layout->addStretch();
    return {row, edit, arrows};
}

namespace {

const char* const typingLimitProperty = "typingLimit";

} // namespace

void setTypingLimit(QLineEdit* edit, int limit) {
    edit->setProperty(typingLimitProperty, limit);
    edit->setMaxLength(limit);
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit, limit](const QString& text) {
        if (text.size() <= limit) {
            edit->setMaxLength(limit);
        }
    });
}

void showBeyondTypingLimit(QLineEdit* edit, const QString& text) {
    const QVariant limit = edit->property(typingLimitProperty);
    if (limit.isValid()) {
        edit->setMaxLength(std::max(limit.toInt(), static_cast<int>(text.size())));
    }
    edit->setText(text);
}

namespace {

const char* const leftUnfinishedProperty = "numberLeftUnfinished";

bool isLoneMinus(const QString& text) { return text.trimmed() == QLatin1String("-"); }

} // namespace

bool numberStillBeingTyped(const QLineEdit* edit) {
    return isLoneMinus(edit->text()) && !edit->property(leftUnfinishedProperty).toBool();
}

void refuseUnfinishedNumberWhenLeft(QLineEdit* edit) {
    QObject::connect(edit, &QLineEdit::editingFinished, edit, [edit] {
        if (isLoneMinus(edit->text())) {
            edit->setProperty(leftUnfinishedProperty, true);
            emit edit->textChanged(edit->text());
            edit->setProperty(leftUnfinishedProperty, false);
        }
    });
}

int positionAfterTypedText(const SpinField& field) {
    if (numberStillBeingTyped(field.edit)) {
        return field.arrows->position();
    }
    const std::optional<std::int64_t> typed = parseWholeNumber(field.edit->text());
    if (typed && *typed >= field.arrows->minimum() && *typed <= field.arrows->maximum()) {
        field.arrows->setPosition(static_cast<int>(*typed));
    } else {
        showStoredAfterRefusal(field.edit, QString::number(field.arrows->position()));
    }
    return field.arrows->position();
}

void showStoredAfterRefusal(QLineEdit* edit, const QString& stored) {
    if (edit->text() != stored) {
        const QSignalBlocker quiet(edit);
        edit->setText(stored);
    }
    edit->selectAll();
}

void showPosition(const SpinField& field, int value) {
    field.arrows->setPosition(value);
    field.edit->setText(QString::number(value));
}

QLineEdit* makeTextField(QWidget* parent, const QString& name, int maxLength) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaxLength(maxLength);
    edit->setValidator(new CodePageValidator(edit));
    return edit;
}

QString controlName(const FieldInfo& field, std::optional<std::size_t> element) {
    const QString name = QString::fromLatin1(field.name.data(), static_cast<qsizetype>(field.name.size()));
    return element ? name + QString::number(*element) : name;
}

SpinField makeSpinField(QWidget* parent, const FieldInfo& field) {
    check(field.lowest >= std::numeric_limits<int>::min() && field.highest <= std::numeric_limits<int>::max(),
          "a spin field for a range beyond the arrows");
    return makeSpinField(parent, controlName(field), static_cast<int>(field.lowest), static_cast<int>(field.highest));
}

QLineEdit* makeTextField(QWidget* parent, const FieldInfo& field) {
    return makeTextField(parent, controlName(field), static_cast<int>(field.textLimit));
}

} // namespace keel
