#include "editor/FieldControls.h"

#include "editor/CodePageValidator.h"

#include <QHBoxLayout>

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

QLineEdit* makeTextField(QWidget* parent, const QString& name, int maxLength) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaxLength(maxLength);
    edit->setValidator(new CodePageValidator(edit));
    return edit;
}

} // namespace keel
