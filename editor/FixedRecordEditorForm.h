// SPDX-License-Identifier: MIT
#pragma once

#include "common/Field.h"
#include "editor/RecordEditorForm.h"
#include "editor/RecordTable.h"

#include <utility>

namespace keel {

// Where the records of a database of fixed-size records lie: their size and the name that
// opens each one.
struct FixedRecordFormat {
    std::size_t recordSize;
    TextFieldSpec nameField;
};

// A record editor whose working copy is a run of fixed-size records: its field handlers store
// straight into the bytes of the record on screen.
class FixedRecordEditorForm : public RecordEditorForm {
    Q_OBJECT

public:
    FixedRecordEditorForm(RecordEditorTraits traits, FixedRecordFormat format, ByteVector& master,
                          DialogService& dialogs, QWidget* parent = nullptr);

    const RecordTable& records() const { return table_; }

protected:
    // The working copy, for a change that reaches records other than the one on screen.
    RecordTable& recordTable() { return table_; }
    // The record on screen, for a field handler to store into; empty while the editor is busy,
    // while it fills its own controls, and when no record is shown.
    ByteSpan editableRecord();
    // Stores a typed name over the name of the record on screen, rebuilds the list keeping its
    // selection and sets the record-changed mark; a change of letter case alone is not stored.
    // Gives whether the name was stored.
    bool storeRecordName(const QString& text);
    // Stores a typed text over a text field of the record on screen and sets the record-changed
    // mark; a text the field cannot hold is not stored.
    void storeText(const TextFieldSpec& field, const QString& text);

    // Puts every field of the record into its control.
    virtual void putFields(ConstByteSpan record) = 0;

private:
    void showFields(std::size_t index) final { putFields(std::as_const(table_).record(index)); }

    RecordTable& table_;
};

} // namespace keel
