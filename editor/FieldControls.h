#pragma once

#include "editor/ArrowControl.h"

#include <QLineEdit>
#include <QWidget>

namespace keel {

// An edit box with its arrows beside it, as the number fields of every editor are made: the
// box is named after its field, the arrows "UpDown_" and the field's name.
struct SpinField {
    QWidget* row;
    QLineEdit* edit;
    ArrowControl* arrows;
};

SpinField makeSpinField(QWidget* parent, const QString& name, int minimum, int maximum);

// A plain edit box for a field, limited to the code page of the files.
QLineEdit* makeTextField(QWidget* parent, const QString& name, int maxLength);

} // namespace keel
