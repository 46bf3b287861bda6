// SPDX-License-Identifier: MIT
#include "objects/TObjectForm.h"

#include "objects/AmmunitionHandOver.h"

#include "common/NameCompare.h"
#include "editor/CodePage.h"
#include "editor/CodePageValidator.h"
#include "editor/DialogService.h"
#include "editor/NumberText.h"
#include "objects/ObjectRecord.h"
#include "threed/TThreeDObjectForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

namespace keel {
namespace {

using R = ObjectRecord;

RecordEditorTraits objectEditorTraits() {
    return {"TObjectForm", QObject::tr("Object Records"), "ObjectList", 3, QObject::tr("New Object"), "odb"};
}

// The bit a capability check box edits: the number that ends its name.
std::uint8_t bitOfControl(const QString& name) {
    qsizetype digits = name.size();
    while (digits > 0 && name.at(digits - 1).isDigit()) {
        --digits;
    }
    return static_cast<std::uint8_t>(name.mid(digits).toUInt());
}

int clampToInt(std::int64_t value, int minimum, int maximum) {
    return static_cast<int>(std::clamp<std::int64_t>(value, minimum, maximum));
}

// Which boxes an object type has: aircraft, ship/sub, helicopter, weapon, missile type,
// possible targets, countermeasures, and the range field.
struct TypeBoxes {
    bool aircraft, boat, helo, weapon, missile, targets, countermeasures, range;
};

std::optional<TypeBoxes> boxesForType(int code) {
    switch (code) {
    case 0:
    case 1:
    case 2:
        return TypeBoxes{false, true, false, false, false, false, true, false};
    case 3:
        return TypeBoxes{true, false, false, false, false, false, true, true};
    case 4:
        return TypeBoxes{true, false, true, false, false, false, true, true};
    case 5:
        return TypeBoxes{false, false, false, false, false, false, true, false};
    case 6:
    case 7:
        return TypeBoxes{false, true, false, true, false, true, false, true};
    case 8:
    case 9:
    case 10:
        return TypeBoxes{false, false, false, true, true, true, false, true};
    case 11:
        return TypeBoxes{false, false, false, false, false, false, false, false};
    default:
        return std::nullopt;
    }
}

const FieldInfo& field(std::string_view name) { return fieldNamed(objectFields, name); }

// Enables the controls directly inside a box, but for those that follow rules of their own.
void enableControlsOf(QGroupBox* box, bool enabled, const QList<QWidget*>& ownRules = {}) {
    for (QWidget* child : box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!ownRules.contains(child)) {
            child->setEnabled(enabled);
        }
    }
}

} // namespace

TObjectForm::TObjectForm(ByteVector& master, DialogService& dialogs, ObjectEditorLinks links, QWidget* parent)
    : FixedRecordEditorForm(objectEditorTraits(), {R::Size, R::ObjectName}, master, dialogs, parent), links_(links),
      ammunition_(links.ammunition != nullptr ? std::make_unique<AmmunitionHandOver>(*links.ammunition) : nullptr),
      threeDWarning_(new QLabel(tr("Object lacks a required 3DObject"), this)) {
    threeDWarning_->setObjectName("ThreeDWarning");
    QPalette red = threeDWarning_->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    threeDWarning_->setPalette(red);
    threeDWarning_->setVisible(false);
    // The warning's line is kept while it is hidden, so that the fixed-size window keeps its
    // size and its controls stay put when it appears.
    QSizePolicy keepsItsPlace = threeDWarning_->sizePolicy();
    keepsItsPlace.setRetainSizeWhenHidden(true);
    threeDWarning_->setSizePolicy(keepsItsPlace);
    listColumn()->insertWidget(0, threeDWarning_);

    auto* common = makeBox("GroupBox1", tr("Common Stats"), fieldArea());
    buildCommonStats(common);

    aircraftBox_ = makeBox("Box_AircraftStats", tr("Aircraft only Stats"), fieldArea());
    auto* aircraft = new QGridLayout(aircraftBox_);
    addWholeNumberText(aircraft, 0, 0, tr("Fuel (lbs):"), field("Fuel"));
    addLimitPair(aircraft, 1, tr("Max Burn Rate:"), field("MaxBurn"), tr("Min Burn Rate:"), field("MinBurn"), true);
    auto* burnNote = new QLabel(tr("(If zero, game-auto computes burn rates)"), aircraftBox_);
    burnNote->setWordWrap(true);
    aircraft->addWidget(burnNote, 3, 0, 1, 2);

    boatBox_ = makeBox("Box_BoatStats", tr("Ship/Sub only Stats"), fieldArea());
    addFloatField(new QGridLayout(boatBox_), 0, 0, tr("Underwater Sound Level:"), field("SoundLevel"), true,
                  LabelPlace::Above);

    heloBox_ = makeBox("Box_HeloStats", tr("Helicopter only Stats"), fieldArea());
    addSpinPositionField(new QGridLayout(heloBox_), 0, 0, tr("Number of Sonobuoys carried:"), field("NumBuoys"),
                         LabelPlace::Above);

    weaponBox_ = makeBox("Box_WeapStats", tr("Weapon only Stats"), fieldArea());
    auto* weapon = new QGridLayout(weaponBox_);
    addSpinPositionField(weapon, 0, 0, tr("Probability of correct detonation:"), field("DetProb"),
                         LabelPlace::Above);
    addWholeNumberText(weapon, 2, 0, tr("Range:"), field("Range"), &rangeLabel_);
    rangeLabel_->setObjectName("RangeLabel");
    rangeEdit_ = wholeNumbers_.value("Range").edit;
    targetBox_ = makeBox("Box_TargetStats", tr("Possible Targets"), weaponBox_);
    addCapabilityBoxes(targetBox_, targetCapabilityBits, &TObjectForm::ChangeTargetCaps);
    missileBox_ = makeBox("Box_MissileStats", tr("Missile Type (Missiles Only)"), weaponBox_);
    addCapabilityBoxes(missileBox_, missileCapabilityBits, &TObjectForm::ChangeMissileCaps);
    weapon->addWidget(targetBox_, 3, 0, 1, 2);
    weapon->addWidget(missileBox_, 4, 0, 1, 2);

    countermeasureBox_ = makeBox("Box_cmStats", tr("Ships/Aircraft only Stats"), fieldArea());
    auto* countermeasureLabel = new QLabel(tr("Countermeasures carried:"), countermeasureBox_);
    countermeasureLabel->setObjectName("CountermeasuresLabel");
    addCapabilityBoxes(countermeasureBox_, countermeasureCapabilityBits, &TObjectForm::ChangeCMCaps);
    qobject_cast<QGridLayout*>(countermeasureBox_->layout())->addWidget(countermeasureLabel, 0, 0, 1, 2);

    auto* points = makeBox("GroupBox6", tr("Default Point Value"), fieldArea());
    auto* pointsGrid = new QGridLayout(points);
    const SpinField pointsField = makeSpinField(points, field("Points"));
    pointsGrid->addWidget(pointsField.row, 0, 0);
    wholeNumbers_.insert("Points", {field("Points").integer(), pointsField.edit, pointsField.arrows});
    connect(pointsField.edit, &QLineEdit::textChanged, this, &TObjectForm::ChangeSimpleNumber);

    auto* priorities = makeBox("GroupBox7", tr("Mission Priorities"), fieldArea());
    auto* prioritiesGrid = new QGridLayout(priorities);
    const QStringList priorityLabels{tr("ASW:"),   tr("SUW:"),   tr("AAW:"),      tr("Strike:"),
                                     tr("Recon:"), tr("Comms:"), tr("Anti-Mine:")};
    const FieldInfo& misPri = field("MisPri");
    check(static_cast<std::size_t>(priorityLabels.size()) == misPri.count, "a label for each mission priority");
    for (int i = 0; i < priorityLabels.size(); ++i) {
        const auto element = static_cast<std::size_t>(i);
        const QString name = controlName(misPri, element);
        const SpinField spin =
            makeSpinField(priorities, name, static_cast<int>(misPri.lowest), static_cast<int>(misPri.highest));
        setTypingLimit(spin.edit, 1);
        spin.edit->setMaximumWidth(30);
        // Two priorities a row, to keep the window low.
        prioritiesGrid->addWidget(new QLabel(priorityLabels[i], priorities), i / 2, 2 * (i % 2));
        prioritiesGrid->addWidget(spin.row, i / 2, 2 * (i % 2) + 1);
        wholeNumbers_.insert(name, {misPri.integer(element), spin.edit, spin.arrows});
        connect(spin.edit, &QLineEdit::textChanged, this, &TObjectForm::ChangeMisPriorities);
    }

    auto* pages = makeBox("GroupBox11", tr("Other Pages"), fieldArea());
    auto* pagesLayout = new QVBoxLayout(pages);
    weaponsButton_ = new QPushButton(tr("Weapons"), pages);
    sensorsButton_ = new QPushButton(tr("Sensors"), pages);
    airstripsButton_ = new QPushButton(tr("Airstrips"), pages);
    weaponsButton_->setObjectName("WeaponButton");
    sensorsButton_->setObjectName("SensorButton");
    airstripsButton_->setObjectName("AirstripButton");
    const std::array<std::pair<QPushButton*, SlotPicker*>, 3> pickerButtons{
        {{weaponsButton_, links_.launcherPicker},
         {sensorsButton_, links_.sensorPicker},
         {airstripsButton_, links_.airstripPicker}}};
    for (const auto& [button, picker] : pickerButtons) {
        button->setEnabled(picker != nullptr); // a button without its picker has nothing to open
        pagesLayout->addWidget(button);
    }
    connect(weaponsButton_, &QPushButton::clicked, this, &TObjectForm::WeaponButtonClick);
    connect(sensorsButton_, &QPushButton::clicked, this, &TObjectForm::SensorButtonClick);
    connect(airstripsButton_, &QPushButton::clicked, this, &TObjectForm::AirstripButtonClick);

    // Three columns: the common fields with the priorities, points and pickers under them; the
    // boxes of vehicles; the weapon box.
    auto* underCommon = new QHBoxLayout;
    underCommon->addWidget(priorities, 0, Qt::AlignTop);
    auto* pointsAndPages = new QVBoxLayout;
    pointsAndPages->addWidget(points);
    pointsAndPages->addWidget(pages);
    pointsAndPages->addStretch();
    underCommon->addLayout(pointsAndPages);
    auto* commonColumn = new QVBoxLayout;
    commonColumn->addWidget(common);
    commonColumn->addLayout(underCommon);
    commonColumn->addStretch();
    auto* vehicleColumn = new QVBoxLayout;
    for (QGroupBox* box : {aircraftBox_, boatBox_, heloBox_, countermeasureBox_}) {
        vehicleColumn->addWidget(box);
    }
    vehicleColumn->addStretch();
    auto* weaponColumn = new QVBoxLayout;
    weaponColumn->addWidget(weaponBox_);
    weaponColumn->addStretch();
    auto* layout = new QHBoxLayout(fieldArea());
    layout->setContentsMargins(0, 0, 0, 0);
    for (QVBoxLayout* column : {commonColumn, vehicleColumn, weaponColumn}) {
        layout->addLayout(column);
    }

    if (links_.threeD != nullptr) {
        links_.threeD->setObjectRecords(&records());
        hasThreeDObject_ = [threeD = links_.threeD](ConstByteSpan name) { return threeD->HasThreeDObject(name); };
    }
    createFromMaster();
}

void TObjectForm::afterListBuilt() {
    if (ammunition_) {
        ammunition_->handOverAll(records());
    }
    if (links_.threeD != nullptr) {
        links_.threeD->RefreshObjectList();
    }
}

TObjectForm::~TObjectForm() = default;

// Only this object's name or type changed: the 3D object editor and the launcher editor look
// at it alone.
void TObjectForm::afterEntryChanged(std::size_t index) {
    if (ammunition_) {
        ammunition_->handOverOne(records(), index);
    }
    if (links_.threeD != nullptr) {
        links_.threeD->RefreshObjectEntry(index);
    }
}

// Every change of the records rebuilds the list first, which has refreshed the 3D object
// editor already; only the nation editor is left to tell.
void TObjectForm::afterRecordsChanged(RecordsChange /*change*/) { tellOthersRecordsChanged(); }

void TObjectForm::tellOthersRecordsChanged() {
    if (tagNames_ != nullptr) {
        tagNames_->refillTagNameLists();
    }
}

QGroupBox* TObjectForm::makeBox(const QString& name, const QString& caption, QWidget* parent) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    return box;
}

void TObjectForm::buildCommonStats(QGroupBox* box) {
    auto* grid = new QGridLayout(box);
    auto addText = [&](int row, std::string_view name, const QString& label, void (TObjectForm::*handler)()) {
        const FieldInfo& text = field(name);
        QLineEdit* edit = makeTextField(box, text);
        edit->setMaximumWidth(text.textLimit > 20 ? 300 : 180);
        grid->addWidget(new QLabel(label, box), row, 0);
        grid->addWidget(edit, row, 1, 1, 3);
        connect(edit, &QLineEdit::textChanged, this, handler);
        return edit;
    };
    objectName_ = addText(0, "ObjectName", tr("Name:"), &TObjectForm::ChangeObjectName);
    displayName_ = addText(1, "DisplayName", tr("Display Name:"), &TObjectForm::ChangeDisplayName);
    doctrineName_ =
        addText(2, "DoctrineName", tr("Default Doctrine:"), &TObjectForm::ChangeDefaultDoctrine);

    objectType_ = new QComboBox(box);
    objectType_->setObjectName("ObjType");
    for (std::string_view text : objectTypeTexts) {
        objectType_->addItem(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    }
    objectType_->setMaxVisibleItems(11);
    grid->addWidget(new QLabel(tr("Object Type:"), box), 3, 0);
    grid->addWidget(objectType_, 3, 1);
    connect(objectType_, &QComboBox::currentIndexChanged, this, &TObjectForm::ChangeObjectType);

    simType_ = new QComboBox(box);
    simType_->setObjectName("SimType");
    simType_->setEditable(true);
    simType_->setInsertPolicy(QComboBox::NoInsert);
    simType_->setCompleter(nullptr); // what is typed is stored as typed, never completed
    for (std::string_view word : simTypeWords) {
        simType_->addItem(QString::fromLatin1(word.data(), static_cast<qsizetype>(word.size())));
    }
    simType_->lineEdit()->setMaxLength(static_cast<int>(field("SimType").textLimit));
    // As wide as its words, not as its longest possible text: the window fits a laptop screen.
    simType_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    simType_->setMinimumContentsLength(9);
    simType_->lineEdit()->setValidator(new CodePageValidator(simType_));
    grid->addWidget(new QLabel(tr("Sim Type:"), box), 3, 2);
    grid->addWidget(simType_, 3, 3);
    connect(simType_, &QComboBox::editTextChanged, this, &TObjectForm::ChangeSimType);

    ambientSound_ = addText(4, "AmbientSound", tr("Ambient Sound:"), &TObjectForm::ChangeAmbientSound);

    addSpinPositionField(grid, 5, 0, tr("Mast Height:"), field("MastHeight"));
    addSpinPositionField(grid, 5, 2, tr("Draft:"), field("Draft"));
    addSpinPositionField(grid, 6, 0, tr("Length:"), field("Length"));
    addSpinPositionField(grid, 6, 2, tr("Width:"), field("Width"));
    addLimitPair(grid, 7, tr("Max Speed:"), field("MaxSpeed"), tr("Min Speed:"), field("MinSpeed"));
    addLimitPair(grid, 9, tr("Max Alt.:"), field("MaxAlt"), tr("Min Alt.:"), field("MinAlt"));
    addWholeNumberText(grid, 11, 0, tr("Mass:"), field("Mass"));
    addFloatField(grid, 11, 2, tr("Turn Radius:"), field("TurnRadius"), true);
    addFloatField(grid, 12, 0, tr("Drag Coefficient:"), field("DragCoeff"), false);
    // The two long labels reach across the field column, so that the label column, and the
    // window, are no wider than the other labels need: it fits a laptop screen.
    addSpinPositionField(grid, 13, 0, tr("Armour/Damage value:"), field("Armour"), LabelPlace::Across);
    addSpinPositionField(grid, 14, 0, tr("Max Climb/Dive angle(degs):"), field("maxPitch"), LabelPlace::Across);
    grid->setRowStretch(15, 1);
}

void TObjectForm::addSpinPositionField(QGridLayout* grid, int row, int column, const QString& label,
                                       const FieldInfo& field, LabelPlace place) {
    QWidget* box = grid->parentWidget();
    const SpinField spin = makeSpinField(box, field);
    if (place == LabelPlace::Above) {
        grid->addWidget(new QLabel(label, box), row, column, 1, 2);
        grid->addWidget(spin.row, row + 1, column, 1, 2);
    } else if (place == LabelPlace::Across) {
        grid->addWidget(new QLabel(label, box), row, column, 1, 2);
        grid->addWidget(spin.row, row, column + 2, 1, 2);
    } else {
        grid->addWidget(new QLabel(label, box), row, column);
        grid->addWidget(spin.row, row, column + 1);
    }
    wholeNumbers_.insert(controlName(field), {field.integer(), spin.edit, spin.arrows});
    connect(spin.edit, &QLineEdit::textChanged, this, &TObjectForm::ChangeSimpleNumber);
}

void TObjectForm::addLimitPair(QGridLayout* grid, int row, const QString& maximumLabel,
                               const FieldInfo& maximumField, const QString& minimumLabel,
                               const FieldInfo& minimumField, bool stacked) {
    check(maximumField.lowest == minimumField.lowest && maximumField.highest == minimumField.highest,
          "a limit pair whose fields have different ranges");
    const int lowest = static_cast<int>(maximumField.lowest);
    const int highest = static_cast<int>(maximumField.highest);
    const QString maximumName = controlName(maximumField);
    const QString minimumName = controlName(minimumField);
    QWidget* box = grid->parentWidget();
    const SpinField maximum = makeSpinField(box, maximumField);
    const SpinField minimum = makeSpinField(box, minimumField);
    grid->addWidget(new QLabel(maximumLabel, box), row, 0);
    grid->addWidget(maximum.row, row, 1);
    // Stacked, the minimum goes under the maximum, for the narrow boxes.
    grid->addWidget(new QLabel(minimumLabel, box), stacked ? row + 1 : row, stacked ? 0 : 2);
    grid->addWidget(minimum.row, stacked ? row + 1 : row, stacked ? 1 : 3);
    limitPairs_.insert(maximumName, {maximumField.integer(), maximum, minimumName, true, lowest, highest});
    limitPairs_.insert(minimumName, {minimumField.integer(), minimum, maximumName, false, lowest, highest});
    const QHash<QString, void (TObjectForm::*)()> handlers{
        {"MaxSpeed", &TObjectForm::ChangeMaxSpeed}, {"MinSpeed", &TObjectForm::ChangeMinSpeed},
        {"MaxAlt", &TObjectForm::ChangeMaxAlt},     {"MinAlt", &TObjectForm::ChangeMinAlt},
        {"MaxBurn", &TObjectForm::ChangeMaxBurn},   {"MinBurn", &TObjectForm::ChangeMinBurn}};
    connect(maximum.edit, &QLineEdit::textChanged, this, handlers.value(maximumName));
    connect(minimum.edit, &QLineEdit::textChanged, this, handlers.value(minimumName));
}

void TObjectForm::addWholeNumberText(QGridLayout* grid, int row, int column, const QString& label,
                                     const FieldInfo& field, QLabel** labelOut) {
    QWidget* box = grid->parentWidget();
    const QString name = controlName(field);
    auto* edit = new QLineEdit(box);
    edit->setObjectName(name);
    edit->setMaximumWidth(110);
    auto* caption = new QLabel(label, box);
    grid->addWidget(caption, row, column);
    grid->addWidget(edit, row, column + 1);
    wholeNumbers_.insert(name, {field.integer(), edit, nullptr});
    connect(edit, &QLineEdit::textChanged, this, &TObjectForm::ChangeSimpleNumber);
    if (labelOut != nullptr) {
        *labelOut = caption;
    }
}

void TObjectForm::addFloatField(QGridLayout* grid, int row, int column, const QString& label,
                                const FieldInfo& field, bool withArrows, LabelPlace place) {
    QWidget* box = grid->parentWidget();
    const QString name = controlName(field);
    QLineEdit* edit = nullptr;
    QWidget* control = nullptr;
    if (withArrows) {
        // The field takes any number; its arrows step through the whole numbers they reach.
        const SpinField spin = makeSpinField(box, name, 0, 32767);
        edit = spin.edit;
        control = spin.row;
    } else {
        edit = new QLineEdit(box);
        edit->setObjectName(name);
        control = edit;
    }
    // Room for a float written with all its fifteen digits.
    const int fifteenDigits = edit->fontMetrics().horizontalAdvance("-0.400000005960464") + 12;
    edit->setMinimumWidth(fifteenDigits);
    edit->setMaximumWidth(std::max(edit->maximumWidth(), fifteenDigits));
    if (place == LabelPlace::Above) {
        grid->addWidget(new QLabel(label, box), row, column, 1, 2);
        grid->addWidget(control, row + 1, column, 1, 2);
    } else {
        grid->addWidget(new QLabel(label, box), row, column);
        grid->addWidget(control, row, column + 1);
    }
    floats_.insert(name, {NumberField<float>{field.offset}, edit});
    connect(edit, &QLineEdit::textChanged, this, &TObjectForm::ChangeFloatNumber);
}

template <std::size_t N>
void TObjectForm::addCapabilityBoxes(QGroupBox* box, const std::array<CapabilityBit, N>& bits,
                                     void (TObjectForm::*handler)()) {
    auto* grid = new QGridLayout(box);
    for (std::size_t i = 0; i < N; ++i) {
        const CapabilityBit& bit = bits[i];
        auto* check = new QCheckBox(QString::fromLatin1(bit.caption.data(), static_cast<qsizetype>(bit.caption.size())), box);
        check->setObjectName(QString::fromLatin1(bit.control.data(), static_cast<qsizetype>(bit.control.size())));
        grid->addWidget(check, static_cast<int>(i / 2) + 1, static_cast<int>(i % 2));
        capabilityBoxes_.insert(check->objectName(), check);
        connect(check, &QCheckBox::toggled, this, handler);
    }
}

void TObjectForm::setThreeDObjectQuery(std::function<bool(ConstByteSpan)> query) {
    hasThreeDObject_ = std::move(query);
}

bool TObjectForm::threeDWarningShown() const { return !threeDWarning_->isHidden(); }

void TObjectForm::putFields(ConstByteSpan record) {
    fieldArea()->setEnabled(true);
    objectName_->setText(textFromBytes(R::ObjectName.read(record)));
    displayName_->setText(textFromBytes(R::DisplayName.read(record)));
    doctrineName_->setText(textFromBytes(R::DoctrineName.read(record)));
    ambientSound_->setText(textFromBytes(R::AmbientSound.read(record)));
    simType_->setEditText(textFromBytes(R::SimType.read(record)));
    const int type = R::ObjType.read(record);
    objectType_->setCurrentIndex(isKnownObjectType(type) ? type - 1 : -1);

    for (const WholeNumberControl& control : std::as_const(wholeNumbers_)) {
        const std::int64_t value = control.field.read(record);
        if (control.arrows != nullptr) {
            control.arrows->setPosition(clampToInt(value, control.arrows->minimum(), control.arrows->maximum()));
        }
        // A stored value is shown whole, even where typing is limited to fewer characters.
        showBeyondTypingLimit(control.edit, QString::number(value));
    }
    // The limits that the partners set come from this record alone: each pair starts from its
    // whole range, and the maxima bound their minima before the minima bound their maxima.
    for (const LimitPair& pair : std::as_const(limitPairs_)) {
        pair.spin.arrows->setRange(pair.lowest, pair.highest);
        const std::int64_t value = pair.field.read(record);
        pair.spin.arrows->setPosition(clampToInt(value, pair.lowest, pair.highest));
        pair.spin.edit->setText(QString::number(value));
    }
    for (const bool maxima : {true, false}) {
        for (const LimitPair& pair : std::as_const(limitPairs_)) {
            if (pair.isMaximum == maxima) {
                applyPairLimits(pair);
            }
        }
    }
    for (const auto& [field, edit] : std::as_const(floats_)) {
        edit->setText(formatFloat(field.read(record)));
        edit->setCursorPosition(0); // a long number shows its leading digits
    }
    for (QCheckBox* check : std::as_const(capabilityBoxes_)) {
        const QString name = check->objectName();
        const std::uint8_t bit = bitOfControl(name);
        const BitSetField<std::uint8_t>& field =
            name.startsWith("cmCaps") ? R::cmCaps : (name.startsWith("missileCaps") ? R::missileCaps : R::targetCaps);
        check->setChecked(field.has(record, bit));
    }
}

void TObjectForm::clearFields() {
    for (QLineEdit* edit : fieldArea()->findChildren<QLineEdit*>()) {
        edit->clear();
    }
    objectType_->setCurrentIndex(-1);
    for (QCheckBox* check : std::as_const(capabilityBoxes_)) {
        check->setChecked(false);
    }
    fieldArea()->setEnabled(false);
    threeDWarning_->setVisible(false);
}

namespace {

template <std::size_t Count>
SlotValues readSlots(ConstByteSpan record, const NumberArrayField<std::int16_t, Count>& field) {
    SlotValues values(Count);
    for (std::size_t i = 0; i < Count; ++i) {
        values[i] = field.read(record, i);
    }
    return values;
}

} // namespace

void TObjectForm::afterRecordShown() {
    const ConstByteSpan record = records().record(*currentPosition());
    recomputeHasThreeD(record);
    setBoxesByType();
    const std::array<std::pair<SlotPicker*, SlotValues>, 3> handOver{
        {{links_.sensorPicker, readSlots(record, R::SensorSlots)},
         {links_.airstripPicker, readSlots(record, R::AirstripSlots)},
         {links_.launcherPicker, readSlots(record, R::LauncherSlots)}}};
    for (const auto& [picker, values] : handOver) {
        if (picker != nullptr) {
            picker->loadSlots(values);
        }
    }
}

template <std::size_t Count>
void TObjectForm::openPicker(SlotPicker* picker, const NumberArrayField<std::int16_t, Count>& slotField) {
    ByteSpan record = editableRecord();
    if (picker == nullptr || record.empty()) {
        return;
    }
    const std::optional<SlotValues> kept = picker->pickSlots(readSlots(record, slotField));
    // The picker ran modally; the record is looked up again rather than trusted to be where it was.
    record = editableRecord();
    if (!kept || record.empty()) {
        return;
    }
    for (std::size_t i = 0; i < Count && i < kept->size(); ++i) {
        slotField.write(record, i, (*kept)[i]);
    }
    markRecordChanged();
}

MovedLauncherSlots TObjectForm::launcherSlotsMovedBy(const LauncherDelete& launcherDelete) const {
    return findMovedLauncherSlots(records().bytes(), launcherDelete);
}

// The snapshot follows too, so that declining to retain the record on screen brings back its
// slots as they were, numbered as the launchers now stand.
void TObjectForm::renumberLauncherSlotsAfterDelete(const MovedLauncherSlots& moved,
                                                   const LauncherDelete& launcherDelete) {
    for (const std::size_t index : moved.objects) {
        renumberLauncherSlots(recordTable().record(index), launcherDelete);
    }
    const ByteSpan snapshot = recordSnapshot();
    if (currentPosition() && snapshot.size() == R::Size) {
        renumberLauncherSlots(snapshot, launcherDelete);
        showCurrentRecordAnew();
    }
    markSetChanged();
}

void TObjectForm::WeaponButtonClick() { openPicker(links_.launcherPicker, R::LauncherSlots); }
void TObjectForm::SensorButtonClick() { openPicker(links_.sensorPicker, R::SensorSlots); }
void TObjectForm::AirstripButtonClick() { openPicker(links_.airstripPicker, R::AirstripSlots); }

void TObjectForm::setBoxesByType() {
    if (!currentPosition()) {
        return;
    }
    const std::optional<TypeBoxes> boxes = boxesForType(R::ObjType.read(records().record(*currentPosition())));
    if (boxes) {
        enableControlsOf(aircraftBox_, boxes->aircraft);
        enableControlsOf(boatBox_, boxes->boat);
        enableControlsOf(heloBox_, boxes->helo);
        enableControlsOf(weaponBox_, boxes->weapon, {targetBox_, missileBox_, rangeLabel_, rangeEdit_});
        enableControlsOf(missileBox_, boxes->missile);
        enableControlsOf(targetBox_, boxes->targets);
        enableControlsOf(countermeasureBox_, boxes->countermeasures);
        rangeLabel_->setEnabled(boxes->range);
        rangeEdit_->setEnabled(boxes->range);
    }
    updateThreeDWarning();
}

void TObjectForm::recomputeHasThreeD(ConstByteSpan record) {
    hasThreeD_ = !hasThreeDObject_ || hasThreeDObject_(R::ObjectName.bytes(record));
}

// Shells and bullets need no 3D object; the has-3D flag is as last computed.
void TObjectForm::updateThreeDWarning() {
    const bool needsThreeD = needsThreeDObject(R::ObjType.read(records().record(*currentPosition())));
    threeDWarning_->setVisible(needsThreeD && !hasThreeD_);
}

void TObjectForm::nameOrTypeStored() {
    rebuildListKeepingSelection();
    tellOthersRecordsChanged();
    markRecordChanged();
}

void TObjectForm::ChangeObjectName() {
    if (!storeRecordName(objectName_->text())) {
        return;
    }
    tellOthersRecordsChanged();
    const ConstByteSpan record = records().record(*currentPosition());
    recomputeHasThreeD(record);
    setBoxesByType();
}

void TObjectForm::ChangeObjectType() {
    const ByteSpan record = editableRecord();
    if (record.empty() || objectType_->currentIndex() < 0) {
        return;
    }
    const auto code = static_cast<std::int16_t>(objectType_->currentIndex() + 1);
    if (code == R::ObjType.read(record)) {
        return;
    }
    R::ObjType.write(record, code);
    recomputeHasThreeD(record);
    setBoxesByType();
    nameOrTypeStored();
}

void TObjectForm::ChangeDisplayName() { storeText(R::DisplayName, displayName_->text()); }
void TObjectForm::ChangeDefaultDoctrine() { storeText(R::DoctrineName, doctrineName_->text()); }
void TObjectForm::ChangeAmbientSound() { storeText(R::AmbientSound, ambientSound_->text()); }
void TObjectForm::ChangeSimType() { storeText(R::SimType, simType_->currentText()); }

void TObjectForm::storeSpinPosition(const QString& name) {
    const ByteSpan record = editableRecord();
    const auto control = wholeNumbers_.constFind(name);
    if (record.empty() || control == wholeNumbers_.cend() || numberStillBeingTyped(control->edit)) {
        return;
    }
    const QString text = control->edit->text();
    const std::optional<std::int64_t> typed = parseWholeNumber(text);
    if (control->arrows == nullptr) {
        if (!typed || !control->field.holds(*typed)) {
            reportNotInteger(text);
            showStoredAfterRefusal(control->edit, QString::number(control->field.read(record)));
            return;
        }
        control->field.write(record, *typed);
        markRecordChanged();
        return;
    }
    // A spin field takes only numbers within its arrows' range; anything else leaves it at
    // its last valid value, without a word.
    if (!typed || *typed < control->arrows->minimum() || *typed > control->arrows->maximum()) {
        showStoredAfterRefusal(control->edit, QString::number(control->field.read(record)));
        return;
    }
    control->arrows->setPosition(static_cast<int>(*typed));
    control->field.write(record, control->arrows->position());
    markRecordChanged();
}

void TObjectForm::ChangeSimpleNumber() { storeSpinPosition(sender() ? sender()->objectName() : QString()); }
void TObjectForm::ChangeMisPriorities() { storeSpinPosition(sender() ? sender()->objectName() : QString()); }

void TObjectForm::ChangeFloatNumber() {
    const ByteSpan record = editableRecord();
    const QString name = sender() ? sender()->objectName() : QString();
    const auto found = floats_.constFind(name);
    if (record.empty() || found == floats_.cend()) {
        return;
    }
    const auto& [field, edit] = *found;
    if (numberStillBeingTyped(edit)) {
        return;
    }
    const QString text = edit->text();
    const std::optional<double> number = parseDecimalNumber(text);
    if (number && name == "DragCoeff" && *number >= 1.0) {
        // Every number of 1 or more, however large, is 1.
        field.write(record, 1.0f);
        markRecordChanged();
        edit->setText("1");
        return;
    }
    const std::optional<float> typed = typedFloat(text);
    if (!typed) {
        showStoredAfterRefusal(edit, formatFloat(field.read(record)));
        return;
    }
    field.write(record, *typed);
    markRecordChanged();
}

void TObjectForm::applyPairLimits(const LimitPair& changed) {
    const auto partner = limitPairs_.constFind(changed.partner);
    if (partner == limitPairs_.cend()) {
        return;
    }
    const int position = changed.spin.arrows->position();
    if (changed.isMaximum) {
        partner->spin.arrows->setMaximum(position);
    } else {
        partner->spin.arrows->setMinimum(position);
    }
}

void TObjectForm::changeLimit(const QString& name) {
    const ByteSpan record = editableRecord();
    const auto pair = limitPairs_.constFind(name);
    if (record.empty() || pair == limitPairs_.cend() || numberStillBeingTyped(pair->spin.edit)) {
        return;
    }
    const QString text = pair->spin.edit->text();
    const std::optional<std::int64_t> typed = parseWholeNumber(text);
    if (!typed || (pair->field.width == 4 && !pair->field.holds(*typed))) {
        reportNotInteger(text);
        showStoredAfterRefusal(pair->spin.edit, QString::number(pair->field.read(record)));
        return;
    }
    if (!pair->field.holds(*typed)) {
        reportOutOfRange(text, pair->field);
        showStoredAfterRefusal(pair->spin.edit, QString::number(pair->field.read(record)));
        return;
    }
    pair->field.write(record, *typed);
    // The arrows take the typed number as far as their range allows; their position then
    // bounds the partner's arrows, while the number typed is stored as typed.
    ArrowControl* arrows = pair->spin.arrows;
    arrows->setPosition(clampToInt(*typed, arrows->minimum(), arrows->maximum()));
    applyPairLimits(*pair);
    markRecordChanged();
}

void TObjectForm::ChangeMaxSpeed() { changeLimit("MaxSpeed"); }
void TObjectForm::ChangeMinSpeed() { changeLimit("MinSpeed"); }
void TObjectForm::ChangeMaxAlt() { changeLimit("MaxAlt"); }
void TObjectForm::ChangeMinAlt() { changeLimit("MinAlt"); }
void TObjectForm::ChangeMaxBurn() { changeLimit("MaxBurn"); }
void TObjectForm::ChangeMinBurn() { changeLimit("MinBurn"); }

void TObjectForm::changeCapability(const BitSetField<std::uint8_t>& field) {
    const ByteSpan record = editableRecord();
    auto* check = qobject_cast<QCheckBox*>(sender());
    if (record.empty() || check == nullptr) {
        return;
    }
    const QString name = check->objectName();
    const std::uint8_t bit = bitOfControl(name);
    if (check->isChecked() != field.has(record, bit)) {
        field.set(record, bit, check->isChecked());
    }
    markRecordChanged();
}

void TObjectForm::ChangeCMCaps() { changeCapability(R::cmCaps); }
void TObjectForm::ChangeMissileCaps() { changeCapability(R::missileCaps); }
void TObjectForm::ChangeTargetCaps() { changeCapability(R::targetCaps); }

} // namespace keel
