// SPDX-License-Identifier: MIT
#pragma once

#include "common/FieldTable.h"
#include "editor/ArrowControl.h"

#include <QLineEdit>
#include <QWidget>

#include <optional>

namespace keel {

// An edit box with its arrows beside it, as the number fields of every editor are made: the
// box is named after its field, the arrows "UpDown_" and the field's name.
struct SpinField {
    QWidget* row;
    QLineEdit* edit;
    ArrowControl* arrows;
};

SpinField makeSpinField(QWidget* parent, const QString& name, int minimum, int maximum);
// The spin field of a record's field, named after it, with the range its table gives the editor.
SpinField makeSpinField(QWidget* parent, const FieldInfo& field);
// The name of a field as its control is named: "MisPri3" for the fourth element of an array.
QString controlName(const FieldInfo& field, std::optional<std::size_t> element = std::nullopt);

// A spin field whose value is its arrows' position: typed text moves the position only when it
// is a whole number within the arrows' range; any other text is refused, and the box shows the
// position again. Gives the position.
int positionAfterTypedText(const SpinField& field);
// Shows a value in a spin field and puts its arrows there.
void showPosition(const SpinField& field, int value);

// A lone minus sign is where every negative number starts: while the user is still in the box
// it is neither stored nor refused. Once the user leaves the box or presses Enter with it, the
// box's handler runs again and refuses it as any other text.
bool numberStillBeingTyped(const QLineEdit* edit);
void refuseUnfinishedNumberWhenLeft(QLineEdit* edit);

// After the text typed into a box was refused, the box shows again what its field holds, so
// that what is on screen is what is stored. No handler runs for it, and the text is selected,
// so that the next keystroke replaces it.
void showStoredAfterRefusal(QLineEdit* edit, const QString& stored);

// Limits what can be typed into an edit box to `limit` characters, while a value that a record
// holds can still be shown whole with showBeyondTypingLimit: a byte of 12 in a box for one digit
// shows "12", not "1". Once the user's text is within the limit again, the limit holds again.
void setTypingLimit(QLineEdit* edit, int limit);
void showBeyondTypingLimit(QLineEdit* edit, const QString& text);

// A plain edit box for a field, limited to the code page of the files.
QLineEdit* makeTextField(QWidget* parent, const QString& name, int maxLength);
// The edit box of a text field, named after it, as long as its table lets the editor type.
QLineEdit* makeTextField(QWidget* parent, const FieldInfo& field);

} // namespace keel
