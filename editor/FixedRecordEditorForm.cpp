// SPDX-License-Identifier: MIT
#include "editor/FixedRecordEditorForm.h"

#include "common/NameCompare.h"
#include "editor/CodePage.h"

#include <memory>

namespace keel {

FixedRecordEditorForm::FixedRecordEditorForm(RecordEditorTraits traits, FixedRecordFormat format,
                                             ByteVector& master, DialogService& dialogs, QWidget* parent)
    : RecordEditorForm(std::move(traits), std::make_unique<RecordTable>(format.recordSize, format.nameField),
                       master, dialogs, parent),
      table_(static_cast<RecordTable&>(collection())) {}

ByteSpan FixedRecordEditorForm::editableRecord() {
    const std::optional<std::size_t> position = editablePosition();
    return position ? table_.record(*position) : ByteSpan{};
}

bool FixedRecordEditorForm::storeRecordName(const QString& text) {
    const ByteSpan record = editableRecord();
    if (record.empty()) {
        return false;
    }
    const std::optional<std::string> typed = bytesFromText(text);
    if (!typed) {
        return false;
    }
    const ConstByteSpan typedBytes(reinterpret_cast<const Byte*>(typed->data()), typed->size());
    const TextFieldSpec& name = table_.nameField();
    if (equalEditorNames(typedBytes, name.bytes(record)) || !name.write(record, *typed, TextOverflow::Refuse)) {
        return false;
    }
    rebuildListKeepingSelection();
    markRecordChanged();
    return true;
}

void FixedRecordEditorForm::storeText(const TextFieldSpec& field, const QString& text) {
    const ByteSpan record = editableRecord();
    if (record.empty()) {
        return;
    }
    const std::optional<std::string> typed = bytesFromText(text);
    if (typed && field.write(record, *typed, TextOverflow::Refuse)) {
        markRecordChanged();
    }
}

} // namespace keel
