#include "objects/TObjectForm.h"

#include "common/NameCompare.h"
#include "editor/CodePage.h"
#include "editor/CodePageValidator.h"
#include "objects/ObjectRecord.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

namespace keel {
namespace {

RecordEditorTraits objectEditorTraits() {
    return {"TObjectForm", QObject::tr("Object Records"), "ObjectList", ObjectRecord::Size,
            ObjectRecord::ObjectName, 3, QObject::tr("New Object"), "odb"};
}

} // namespace

TObjectForm::TObjectForm(ByteVector& master, DialogService& dialogs, QWidget* parent)
    : RecordEditorForm(objectEditorTraits(), master, dialogs, parent),
      objectName_(new QLineEdit(fieldArea())) {
    objectName_->setObjectName("ObjectName");
    objectName_->setMaxLength(static_cast<int>(ObjectRecord::ObjectName.maxLength()));
    objectName_->setValidator(new CodePageValidator(objectName_));
    connect(objectName_, &QLineEdit::textChanged, this, &TObjectForm::ChangeObjectName);

    auto* common = new QGroupBox(tr("Common Stats"), fieldArea());
    common->setObjectName("GroupBox1");
    auto* form = new QFormLayout(common);
    form->addRow(tr("Name:"), objectName_);
    auto* layout = new QVBoxLayout(fieldArea());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(common);
    layout->addStretch();

    createFromMaster();
}

void TObjectForm::putFields(ConstByteSpan record) {
    objectName_->setEnabled(true);
    objectName_->setText(textFromBytes(ObjectRecord::ObjectName.read(record)));
}

void TObjectForm::clearFields() {
    objectName_->clear();
    objectName_->setEnabled(false);
}

void TObjectForm::ChangeObjectName() {
    const ByteSpan record = editableRecord();
    if (record.empty()) {
        return;
    }
    const std::optional<std::string> typed = bytesFromText(objectName_->text());
    if (!typed) {
        return;
    }
    const ConstByteSpan typedName(reinterpret_cast<const Byte*>(typed->data()), typed->size());
    if (equalEditorNames(typedName, ObjectRecord::ObjectName.bytes(record))) {
        return;
    }
    if (!ObjectRecord::ObjectName.write(record, *typed, TextOverflow::Refuse)) {
        return;
    }
    rebuildListKeepingSelection();
    markRecordChanged();
}

} // namespace keel
