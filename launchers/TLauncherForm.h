// SPDX-License-Identifier: MIT
#pragma once

#include "common/Field.h"
#include "editor/FieldControls.h"
#include "editor/FixedRecordEditorForm.h"
#include "objects/ObjectEditorLinks.h"
#include "pickers/AvailableEntries.h"

#include <QHash>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLineEdit;
class QStringListModel;

namespace keel {

// The editor of launcher.ldb. Object records name launchers by their position, so records keep
// the order they were loaded, added or imported in: there is no sort, and the commit keeps the
// order. Its ammunition lists offer the weapon-like objects that the object editor hands over,
// and its record list is what the launcher picker offers.
class TLauncherForm : public FixedRecordEditorForm, public AmmunitionChoices, public AvailableEntries {
    Q_OBJECT

public:
    TLauncherForm(ByteVector& master, DialogService& dialogs, QWidget* parent = nullptr);

    // The four ammunition boxes share one list of choices; a refill never changes their texts.
    void refillAmmunitionLists(const QStringList& weaponNames) override;
    void renameAmmunition(std::size_t entry, const QString& name) override;
    void insertAmmunition(std::size_t entry, const QString& name) override;
    void removeAmmunition(std::size_t entry) override;
    const QStringListModel* ammunitionChoices() const { return ammunitionChoices_; }

    // The launchers as the launcher picker offers them: the record list's entries as they stand.
    std::size_t count() const override { return records().count(); }
    QString line(std::size_t value) const override { return entryText(value - 1); }
    std::string_view name(std::size_t value) const override {
        return records().nameView(value - 1);
    }

    // The object editor, whose launcher slots a delete concerns; it is created after this
    // editor and joins here. Null takes it out again.
    void setLauncherSlotHolder(LauncherSlotHolder* holder) { launcherSlots_ = holder; }

public slots:
    void ChangeLauncherName();
    void ChangSoundFile();
    void ChangeWeap();
    void ChangeQuant();
    void ChangeSimpleNum();
    void ChangeMaxNumRdsGuideable();
    void ChangeFloat();
    void ChangedFixed();

protected:
    void putFields(ConstByteSpan record) override;
    void clearFields() override;
    // Slots that the delete would make name another launcher are told of first: the user
    // renumbers them, leaves them, or keeps the launcher.
    bool confirmDelete(std::size_t index) override;
    void afterRecordsChanged(RecordsChange change) override;

private:
    void changeAmmunitionChoices(const std::function<void()>& change);
    struct WholeNumberBox {
        IntegerField field{0, 1, false};
        QLineEdit* edit;
        ArrowControl* arrows; // none for the boxes that are typed only
    };

    QGroupBox* makeGroup(const QString& caption, QWidget* parent);
    // Each control is named after its field and takes the range that the field's table gives.
    void addWholeNumber(QGridLayout* grid, int row, int column, const QString& label, const FieldInfo& field,
                        void (TLauncherForm::*handler)(), const QString& arrowsName = {});
    void addCoordinates(QGridLayout* grid, int row, const QString& caption,
                        const std::array<FieldInfo, 3>& coordinates);
    void storeWholeNumber(const QString& name);

    QLineEdit* launcherName_ = nullptr;
    QLineEdit* soundFile_ = nullptr;
    std::array<QComboBox*, 4> ammunition_{};
    QStringListModel* ammunitionChoices_;
    QHash<QString, WholeNumberBox> wholeNumbers_;
    QHash<QString, std::pair<NumberField<float>, QLineEdit*>> coordinates_;
    QHash<QString, QCheckBox*> characteristics_;

    LauncherSlotHolder* launcherSlots_ = nullptr;
    // Between a delete's question, answered Yes, and the delete itself.
    struct SlotRenumbering {
        LauncherDelete launcherDelete;
        MovedLauncherSlots moved;
    };
    std::optional<SlotRenumbering> pendingRenumbering_;
};

} // namespace keel
