// SPDX-License-Identifier: MIT
#pragma once

#include "common/Field.h"
#include "editor/FieldControls.h"
#include "editor/FixedRecordEditorForm.h"
#include "objects/ObjectEditorLinks.h"
#include "objects/ObjectTypes.h"

#include <QHash>

#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace keel {

class AmmunitionHandOver;

// The editor of objects.odb: every field of the object record, the boxes of fields that only
// some object types have, and the warning for an object without its 3D object.
class TObjectForm : public FixedRecordEditorForm, public LauncherSlotHolder {
    Q_OBJECT

public:
    TObjectForm(ByteVector& master, DialogService& dialogs, ObjectEditorLinks links = {},
                QWidget* parent = nullptr);
    ~TObjectForm() override;

    // Whether an object name has a 3D object; by default the 3D object editor answers, and
    // without one every name counts as having one.
    void setThreeDObjectQuery(std::function<bool(ConstByteSpan name)> query);

    bool threeDWarningShown() const;

    // The nation editor is created after the object editor, whose records it reads; it joins
    // the links here. Null takes it out again.
    void setTagNameChoices(TagNameChoices* choices) { tagNames_ = choices; }

    MovedLauncherSlots launcherSlotsMovedBy(const LauncherDelete& launcherDelete) const override;
    void renumberLauncherSlotsAfterDelete(const MovedLauncherSlots& moved,
                                          const LauncherDelete& launcherDelete) override;

public slots:
    void ChangeObjectName();
    void ChangeDisplayName();
    void ChangeDefaultDoctrine();
    void ChangeAmbientSound();
    void ChangeSimType();
    void ChangeObjectType();
    void ChangeSimpleNumber();
    void ChangeMisPriorities();
    void ChangeFloatNumber();
    void ChangeMaxSpeed();
    void ChangeMinSpeed();
    void ChangeMaxAlt();
    void ChangeMinAlt();
    void ChangeMaxBurn();
    void ChangeMinBurn();
    void ChangeCMCaps();
    void ChangeMissileCaps();
    void ChangeTargetCaps();
    void WeaponButtonClick();
    void SensorButtonClick();
    void AirstripButtonClick();

protected:
    void putFields(ConstByteSpan record) override;
    void clearFields() override;
    void afterRecordShown() override;
    void afterListBuilt() override;
    void afterEntryChanged(std::size_t index) override;
    void afterRecordsChanged(RecordsChange change) override;
    // Tells the nation editor that object names or types changed.
    void tellOthersRecordsChanged();

private:
    // A number field edited through an edit box with arrows, or through the box alone.
    struct WholeNumberControl {
        IntegerField field{0, 1, false};
        QLineEdit* edit;
        ArrowControl* arrows; // none for the plain whole-number boxes
    };
    // The partner of one end of a minimum and maximum pair.
    struct LimitPair {
        IntegerField field{0, 1, false};
        SpinField spin;
        QString partner;
        bool isMaximum;
        int lowest; // the arrows' range before the partner narrows it
        int highest;
    };

    // Where a field's label goes: beside it, or above it in the narrow boxes.
    // Across: the label reaches over the field column, the field stands in the next pair.
    enum class LabelPlace { Beside, Above, Across };

    QGroupBox* makeBox(const QString& name, const QString& caption, QWidget* parent);
    void buildCommonStats(QGroupBox* box);
    // Each control is named after its field and takes the range that the field's table gives.
    void addSpinPositionField(QGridLayout* grid, int row, int column, const QString& label, const FieldInfo& field,
                              LabelPlace place = LabelPlace::Beside);
    void addLimitPair(QGridLayout* grid, int row, const QString& maximumLabel, const FieldInfo& maximumField,
                      const QString& minimumLabel, const FieldInfo& minimumField, bool stacked = false);
    void addWholeNumberText(QGridLayout* grid, int row, int column, const QString& label, const FieldInfo& field,
                            QLabel** labelOut = nullptr);
    void addFloatField(QGridLayout* grid, int row, int column, const QString& label, const FieldInfo& field,
                       bool withArrows, LabelPlace place = LabelPlace::Beside);
    template <std::size_t N>
    void addCapabilityBoxes(QGroupBox* box, const std::array<CapabilityBit, N>& bits,
                            void (TObjectForm::*handler)());

    void storeSpinPosition(const QString& name);
    void changeLimit(const QString& name);
    void changeCapability(const BitSetField<std::uint8_t>& field);
    void applyPairLimits(const LimitPair& changed);
    void nameOrTypeStored();
    void setBoxesByType();
    void recomputeHasThreeD(ConstByteSpan record);
    void updateThreeDWarning();
    template <std::size_t Count>
    void openPicker(SlotPicker* picker, const NumberArrayField<std::int16_t, Count>& slotField);

    ObjectEditorLinks links_;
    TagNameChoices* tagNames_ = nullptr;
    std::unique_ptr<AmmunitionHandOver> ammunition_; // when there is a launcher editor
    std::function<bool(ConstByteSpan)> hasThreeDObject_;
    bool hasThreeD_ = true;

    QLabel* threeDWarning_;
    QLineEdit* objectName_ = nullptr;
    QLineEdit* displayName_ = nullptr;
    QLineEdit* doctrineName_ = nullptr;
    QLineEdit* ambientSound_ = nullptr;
    QComboBox* objectType_ = nullptr;
    QComboBox* simType_ = nullptr;
    QLabel* rangeLabel_ = nullptr;
    QLineEdit* rangeEdit_ = nullptr;
    QHash<QString, WholeNumberControl> wholeNumbers_;
    QHash<QString, LimitPair> limitPairs_;
    QHash<QString, std::pair<NumberField<float>, QLineEdit*>> floats_;
    QHash<QString, QCheckBox*> capabilityBoxes_;

    QGroupBox* aircraftBox_ = nullptr;
    QGroupBox* boatBox_ = nullptr;
    QGroupBox* heloBox_ = nullptr;
    QGroupBox* weaponBox_ = nullptr;
    QGroupBox* targetBox_ = nullptr;
    QGroupBox* missileBox_ = nullptr;
    QGroupBox* countermeasureBox_ = nullptr;
    QPushButton* weaponsButton_ = nullptr;
    QPushButton* sensorsButton_ = nullptr;
    QPushButton* airstripsButton_ = nullptr;
};

} // namespace keel
