// SPDX-License-Identifier: MIT
#include "nations/TMissionForm.h"

#include "editor/CodePage.h"
#include "editor/CodePageValidator.h"
#include "editor/FlagScope.h"
#include "editor/NumberText.h"
#include "nations/ClassTypes.h"
#include "nations/TagNameList.h"
#include "objects/ObjectTypes.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>
#include <memory>

namespace keel {
namespace {

RecordEditorTraits nationEditorTraits() {
    RecordEditorTraits traits{"TMissionForm", QObject::tr("Mission Records"), "MissionList", 2,
                              QObject::tr("New Country"), "db"};
    traits.sortable = false; // the simulation and the carriers refer to nations as they stand
    traits.deletingLastShowsFirst = true;
    return traits;
}

void enable(const SpinField& field, bool enabled) {
    field.edit->setEnabled(enabled);
    field.arrows->setEnabled(enabled);
}

} // namespace

TMissionForm::TMissionForm(ByteVector& master, DialogService& dialogs, QWidget* parent)
    : RecordEditorForm(nationEditorTraits(), std::make_unique<NationList>(), master, dialogs, parent),
      nations_(static_cast<NationList&>(collection())) {
    QWidget* area = fieldArea();
    auto* layout = new QGridLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);

    countryName_ = new QLineEdit(area);
    countryName_->setObjectName("CountryName");
    countryName_->setValidator(new CodePageValidator(countryName_));
    countryName_->setMaxLength(static_cast<int>(fieldNamed(nationFields, "CountryName").textLimit));
    countryName_->setMinimumWidth(countryName_->fontMetrics().averageCharWidth() * 30);
    layout->addWidget(new QLabel(tr("Nation:"), area), 0, 0);
    layout->addWidget(countryName_, 0, 1);
    connect(countryName_, &QLineEdit::textChanged, this, &TMissionForm::ChangeCountryName);

    numClasses_ = makeSpinField(area, fieldNamed(nationFields, "numClasses"));
    numClasses_.arrows->setObjectName("UpDown_NumClasses");
    layout->addWidget(new QLabel(tr("No. of Classes:"), area), 1, 0);
    layout->addWidget(numClasses_.row, 1, 1);
    connect(numClasses_.edit, &QLineEdit::textChanged, this, &TMissionForm::ChangeNumClasses);

    auto* classGroup = new QGroupBox(tr("Current Class:"), area);
    classGroup->setObjectName("ClassGroup");
    auto* classGrid = new QGridLayout(classGroup);
    currentClass_ = makeSpinField(classGroup, "currentClass", 1, 1);
    currentClass_.arrows->setObjectName("UpDown_CurrentClass");
    currentClass_.arrows->setWrap(true);
    currentClass_.edit->setReadOnly(true);
    classGrid->addWidget(currentClass_.row, 0, 0, 1, 2, Qt::AlignLeft);
    connect(currentClass_.edit, &QLineEdit::textChanged, this, &TMissionForm::ChangeCurrentClass);

    objType_ = new QComboBox(classGroup);
    objType_->setObjectName("ObjType");
    for (std::string_view text : classTypeTexts) {
        objType_->addItem(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    }
    objType_->setMaxVisibleItems(11);
    classGrid->addWidget(new QLabel(tr("Object Type:"), classGroup), 1, 0);
    classGrid->addWidget(objType_, 1, 1, Qt::AlignLeft);
    connect(objType_, &QComboBox::currentIndexChanged, this, &TMissionForm::ChangeObjType);

    classTagName_ = new TagNameBox(classGroup);
    classTagName_->setObjectName("Class_TagName");
    classGrid->addWidget(new QLabel(tr("Object name:"), classGroup), 2, 0);
    classGrid->addWidget(classTagName_, 2, 1);
    connect(classTagName_, &QComboBox::editTextChanged, this, &TMissionForm::ChangeClassTagName);

    className_ = new QLineEdit(classGroup);
    className_->setObjectName("ClassName");
    className_->setValidator(new CodePageValidator(className_));
    className_->setMaxLength(static_cast<int>(fieldNamed(classFields, "ClassName").textLimit));
    classGrid->addWidget(new QLabel(tr("Class Name:"), classGroup), 3, 0);
    classGrid->addWidget(className_, 3, 1);
    connect(className_, &QLineEdit::textChanged, this, &TMissionForm::ChangeClassName);

    designation_ = makeTextField(classGroup, fieldNamed(classFields, "Designation"));
    designation_->setMaximumWidth(designation_->fontMetrics().averageCharWidth() * 14);
    classGrid->addWidget(new QLabel(tr("Designation:"), classGroup), 4, 0);
    classGrid->addWidget(designation_, 4, 1, Qt::AlignLeft);
    connect(designation_, &QLineEdit::textChanged, this, &TMissionForm::ChangeDesignation);

    numObjects_ = makeSpinField(classGroup, fieldNamed(classFields, "numObjects"));
    numObjects_.arrows->setObjectName("UpDown_NumObjects");
    classGrid->addWidget(new QLabel(tr("No. of Platforms in Class:"), classGroup), 5, 0);
    classGrid->addWidget(numObjects_.row, 5, 1);
    connect(numObjects_.edit, &QLineEdit::textChanged, this, &TMissionForm::ChangeNumObjects);

    auto* platformGroup = new QGroupBox(tr("Current Platform:"), classGroup);
    platformGroup->setObjectName("PlatformGroup");
    auto* platformGrid = new QGridLayout(platformGroup);
    currentPlatform_ = makeSpinField(platformGroup, "currentPlatform", 1, 1);
    currentPlatform_.arrows->setObjectName("UpDown_CurrentPlatform");
    currentPlatform_.arrows->setWrap(true);
    currentPlatform_.edit->setReadOnly(true);
    platformGrid->addWidget(currentPlatform_.row, 0, 0, 1, 2, Qt::AlignLeft);
    connect(currentPlatform_.edit, &QLineEdit::textChanged, this, &TMissionForm::ChangeCurrentPlatform);

    platformTagName_ = new TagNameBox(platformGroup);
    platformTagName_->setObjectName("Platform_TagName");
    platformGrid->addWidget(new QLabel(tr("Object name:"), platformGroup), 1, 0);
    platformGrid->addWidget(platformTagName_, 1, 1);
    // Only what the user types or picks is a change; filling the box is not.
    connect(platformTagName_->lineEdit(), &QLineEdit::textEdited, this, &TMissionForm::ChangePlatformTagName);
    connect(platformTagName_, &QComboBox::activated, this, &TMissionForm::ChangePlatformTagName);

    name_ = new QLineEdit(platformGroup);
    name_->setObjectName("Name");
    name_->setValidator(new CodePageValidator(name_));
    name_->setMaxLength(static_cast<int>(fieldNamed(platformFields, "Name").textLimit));
    platformGrid->addWidget(new QLabel(tr("Display Name:"), platformGroup), 2, 0);
    platformGrid->addWidget(name_, 2, 1);
    connect(name_, &QLineEdit::textChanged, this, &TMissionForm::ChangeName);

    hullNum_ = makeSpinField(platformGroup, fieldNamed(platformFields, "HullNum"));
    hullNum_.arrows->setObjectName("UpDown_HullNum");
    platformGrid->addWidget(new QLabel(tr("Hull No.:"), platformGroup), 3, 0);
    platformGrid->addWidget(hullNum_.row, 3, 1);
    connect(hullNum_.edit, &QLineEdit::textChanged, this, &TMissionForm::ChangeHullNum);

    classGrid->addWidget(platformGroup, 6, 0, 1, 2);
    layout->addWidget(classGroup, 2, 0, 1, 2);
    layout->setRowStretch(3, 1);

    createFromMaster();
}

void TMissionForm::setObjectRecords(const RecordTable* objects) {
    classTagName_->list()->setObjects(objects);
    platformTagName_->list()->setObjects(objects);
}

void TMissionForm::refillTagNameLists() {
    classTagName_->list()->markStale();
    platformTagName_->list()->markStale();
}

QStringList TMissionForm::tagNameChoices(const QString& boxName) const {
    TagNameBox* box = boxName == "Class_TagName" ? classTagName_ : platformTagName_;
    return box->choices();
}

void TMissionForm::setClassTypeOfLists(int type) {
    classTagName_->list()->setClassType(type);
    platformTagName_->list()->setClassType(type);
}

Nation* TMissionForm::editableNation() {
    const std::optional<std::size_t> position = editablePosition();
    if (!position || showingPart_) {
        return nullptr;
    }
    return &nations_.nation(*position);
}

void TMissionForm::stored() { markRecordChanged(); }

template <typename... Refresh> void TMissionForm::refreshCarriers(Refresh... refresh) {
    if (carriers_ != nullptr) {
        (std::invoke(refresh, carriers_), ...);
    }
}

void TMissionForm::showFields(std::size_t index) {
    FlagScope showing(showingPart_);
    letGoOfEntriesAside();
    const Nation& nation = nations_.nation(index);
    fieldArea()->setEnabled(true);
    countryName_->setText(textFromBytes(NationRecord::CountryName.read(nation.record)));
    const int classes = static_cast<int>(nation.classes.size());
    showPosition(numClasses_, classes);
    currentClass_.arrows->setRange(1, classes);
    showClass(0);
}

void TMissionForm::showClass(std::size_t index) {
    FlagScope showing(showingPart_);
    const Nation& nation = nations_.nation(*currentPosition());
    shownClass_ = std::min(index, nation.classes.size() - 1);
    const NationClass& shown = nation.classes[shownClass_];
    showPosition(currentClass_, static_cast<int>(shownClass_) + 1);

    const int type = ClassRecord::ObjType.read(shown.record);
    setClassTypeOfLists(type);
    objType_->setCurrentIndex(type >= 1 && type <= 11 ? type - 1 : -1);
    classTagName_->setEditText(textFromBytes(ClassRecord::Class_TagName.read(shown.record)));
    className_->setText(textFromBytes(ClassRecord::ClassName.read(shown.record)));
    designation_->setText(textFromBytes(ClassRecord::Designation.read(shown.record)));
    const int platforms = static_cast<int>(shown.platforms.size());
    showPosition(numObjects_, platforms);
    currentPlatform_.arrows->setRange(1, platforms);
    applyEnablingRule(type);
    showPlatform(0);
}

void TMissionForm::showPlatform(std::size_t index) {
    FlagScope showing(showingPart_);
    const NationClass& shown = nations_.nation(*currentPosition()).classes[shownClass_];
    shownPlatform_ = std::min(index, shown.platforms.size() - 1);
    const Platform& platform = shown.platforms[shownPlatform_];
    showPosition(currentPlatform_, static_cast<int>(shownPlatform_) + 1);
    setClassTypeOfLists(ClassRecord::ObjType.read(shown.record));
    platformTagName_->setEditText(textFromBytes(PlatformRecord::Platform_TagName.read(platform.record)));
    name_->setText(textFromBytes(PlatformRecord::Name.read(platform.record)));
    const int hull = PlatformRecord::HullNum.read(platform.record);
    showPosition(hullNum_, hull);
}

void TMissionForm::letGoOfEntriesAside() {
    classesAside_.clear();
    platformsAside_.clear();
}

void TMissionForm::applyEnablingRule(int type) {
    switch (type) {
    case static_cast<int>(ObjectType::Sub):
    case static_cast<int>(ObjectType::Surf):
    case static_cast<int>(ObjectType::Shell):
    case static_cast<int>(ObjectType::DownedPilot):
        classTagName_->setEnabled(true);
        designation_->setEnabled(true);
        platformTagName_->setEnabled(classTagName_->currentText().isEmpty());
        enable(hullNum_, true);
        break;
    case static_cast<int>(ObjectType::Air):
        classTagName_->setEnabled(false);
        designation_->setEnabled(false);
        platformTagName_->setEnabled(true);
        enable(hullNum_, false);
        break;
    default:
        break; // a type no class may have leaves the boxes as they were
    }
}

void TMissionForm::clearFields() {
    FlagScope showing(showingPart_);
    for (QLineEdit* edit : fieldArea()->findChildren<QLineEdit*>()) {
        edit->clear();
    }
    objType_->setCurrentIndex(-1);
    fieldArea()->setEnabled(false);
}

void TMissionForm::afterRecordsChanged(RecordsChange change) {
    switch (change) {
    case RecordsChange::Added:
    case RecordsChange::Copied:
    case RecordsChange::Deleted:
    case RecordsChange::Imported:
        refreshCarriers(&CarrierLists::RefreshNationList);
        break;
    case RecordsChange::Restored:
    case RecordsChange::Undone: // the nation put back may differ in every part
        refreshCarriers(&CarrierLists::RefreshNationList, &CarrierLists::RefreshAircraftNameList,
                        &CarrierLists::RefreshShipClassList, &CarrierLists::RefreshAircraftClassList);
        break;
    case RecordsChange::Sorted:
        break;
    }
}

void TMissionForm::ChangeCountryName() {
    Nation* nation = editableNation();
    if (nation == nullptr) {
        return;
    }
    NationRecord::CountryName.write(nation->record, typedBytes(countryName_->text()), TextOverflow::Cut);
    rebuildListKeepingSelection();
    const std::size_t renamed = *currentPosition();
    refreshCarriers([renamed](CarrierLists* carriers) { carriers->RefreshNationName(renamed); });
    stored();
}

void TMissionForm::ChangeNumClasses() {
    Nation* nation = editableNation();
    if (nation == nullptr) {
        return;
    }
    const auto count = static_cast<std::size_t>(positionAfterTypedText(numClasses_));
    if (count == nation->classes.size()) {
        return;
    }
    classesAside_.resize(nation->classes, count, newNationClass);
    NationRecord::numClasses.write(nation->record, static_cast<std::int32_t>(count));
    currentClass_.arrows->setRange(1, static_cast<int>(count));
    showClass(std::min(shownClass_, count - 1));
    refreshCarriers(&CarrierLists::RefreshShipClassList, &CarrierLists::RefreshAircraftClassList);
    stored();
}

void TMissionForm::ChangeCurrentClass() {
    if (!editablePosition() || showingPart_) {
        return;
    }
    showClass(static_cast<std::size_t>(positionAfterTypedText(currentClass_) - 1));
}

void TMissionForm::ChangeObjType() {
    Nation* nation = editableNation();
    if (nation == nullptr || objType_->currentIndex() < 0) {
        return;
    }
    NationClass& shown = shownClassOf(*nation);
    const int type = objType_->currentIndex() + 1;
    ClassRecord::ObjType.write(shown.record, type);
    ClassRecord::Class_TagName.write(shown.record, "", TextOverflow::Cut);
    ClassRecord::Designation.write(shown.record, "", TextOverflow::Cut);
    {
        // The boxes show what the class now holds.
        FlagScope showing(showingPart_);
        classTagName_->setEditText(QString());
        designation_->clear();
    }
    applyEnablingRule(type);
    setClassTypeOfLists(type);
    refreshCarriers(&CarrierLists::RefreshShipClassList, &CarrierLists::RefreshAircraftClassList);
    stored();
}

void TMissionForm::ChangeClassTagName() {
    Nation* nation = editableNation();
    if (nation == nullptr) {
        return;
    }
    NationClass& shown = shownClassOf(*nation);
    const std::string text = typedBytes(classTagName_->currentText());
    ClassRecord::Class_TagName.write(shown.record, text, TextOverflow::Cut);
    const int type = ClassRecord::ObjType.read(shown.record);
    if (type == static_cast<int>(ObjectType::Sub) || type == static_cast<int>(ObjectType::Surf)) {
        for (Platform& platform : shown.platforms) {
            PlatformRecord::Platform_TagName.write(platform.record, text, TextOverflow::Cut);
        }
        FlagScope showing(showingPart_);
        platformTagName_->setEditText(
            textFromBytes(PlatformRecord::Platform_TagName.read(shown.platforms[shownPlatform_].record)));
    }
    applyEnablingRule(type);
    stored();
}

void TMissionForm::ChangeClassName() {
    Nation* nation = editableNation();
    if (nation == nullptr) {
        return;
    }
    ClassRecord::ClassName.write(shownClassOf(*nation).record, typedBytes(className_->text()), TextOverflow::Cut);
    // The name is a ship class's choice in the carrier editor, or an aircraft class's, whose
    // aircraft are found by it.
    refreshCarriers(&CarrierLists::RefreshShipClassList, &CarrierLists::RefreshAircraftClassList,
                    &CarrierLists::RefreshAircraftNameList);
    stored();
}

void TMissionForm::ChangeDesignation() {
    Nation* nation = editableNation();
    if (nation == nullptr) {
        return;
    }
    ClassRecord::Designation.write(shownClassOf(*nation).record, typedBytes(designation_->text()), TextOverflow::Cut);
    refreshCarriers(&CarrierLists::RefreshShipClassList);
    stored();
}

void TMissionForm::ChangeNumObjects() {
    Nation* nation = editableNation();
    if (nation == nullptr) {
        return;
    }
    NationClass& shown = shownClassOf(*nation);
    const auto count = static_cast<std::size_t>(positionAfterTypedText(numObjects_));
    if (count == shown.platforms.size()) {
        return;
    }
    platformsAside_[shownClass_].resize(shown.platforms, count, [&shown] { return newPlatform(shown); });
    ClassRecord::numObjects.write(shown.record, static_cast<std::int32_t>(count));
    currentPlatform_.arrows->setRange(1, static_cast<int>(count));
    showPlatform(std::min(shownPlatform_, count - 1));
    refreshCarriers(&CarrierLists::RefreshAircraftNameList);
    stored();
}

void TMissionForm::ChangeCurrentPlatform() {
    if (!editablePosition() || showingPart_) {
        return;
    }
    showPlatform(static_cast<std::size_t>(positionAfterTypedText(currentPlatform_) - 1));
}

void TMissionForm::ChangePlatformTagName() {
    Nation* nation = editableNation();
    if (nation == nullptr) {
        return;
    }
    Platform& platform = shownClassOf(*nation).platforms[shownPlatform_];
    const std::string chosen = typedBytes(platformTagName_->currentText());
    // The combo box reports the object it names as picked whenever the box loses the focus,
    // also when its drop-down was only opened and closed: only another object is a change.
    if (chosen == PlatformRecord::Platform_TagName.read(platform.record)) {
        return;
    }
    // Another object for the platform: its display name goes with the old one.
    {
        FlagScope showing(showingPart_);
        name_->clear();
    }
    PlatformRecord::Platform_TagName.write(platform.record, chosen, TextOverflow::Cut);
    PlatformRecord::Name.write(platform.record, "", TextOverflow::Cut);
    refreshCarriers(&CarrierLists::RefreshAircraftNameList);
    stored();
}

void TMissionForm::ChangeName() {
    Nation* nation = editableNation();
    if (nation == nullptr) {
        return;
    }
    PlatformRecord::Name.write(shownClassOf(*nation).platforms[shownPlatform_].record, typedBytes(name_->text()),
                               TextOverflow::Cut);
    stored();
}

void TMissionForm::ChangeHullNum() {
    Nation* nation = editableNation();
    if (nation == nullptr) {
        return;
    }
    PlatformRecord::HullNum.write(shownClassOf(*nation).platforms[shownPlatform_].record, positionAfterTypedText(hullNum_));
    stored();
}

} // namespace keel
