#pragma once

#include "editor/RecordEditorForm.h"

class QLineEdit;

namespace keel {

// The editor of objects.odb.
class TObjectForm : public RecordEditorForm {
    Q_OBJECT

public:
    TObjectForm(ByteVector& master, DialogService& dialogs, QWidget* parent = nullptr);

public slots:
    void ChangeObjectName();

protected:
    void putFields(ConstByteSpan record) override;
    void clearFields() override;

private:
    QLineEdit* objectName_;
};

} // namespace keel
