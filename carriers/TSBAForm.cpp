// SPDX-License-Identifier: MIT
#include "carriers/TSBAForm.h"

#include "editor/CodePage.h"
#include "editor/CodePageValidator.h"
#include "editor/FlagScope.h"
#include "editor/NumberText.h"
#include "objects/ObjectTypes.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStringListModel>

#include <memory>

namespace keel {
namespace {

RecordEditorTraits carrierEditorTraits() {
    RecordEditorTraits traits{"TSBAForm", QObject::tr("ShipBasedAircraft Records"), "sbaList", 2,
                              QObject::tr("New Class"), "db"};
    traits.sortable = false;
    traits.deletingLastShowsFirst = true;
    return traits;
}


template <typename TextField> QString text(const TextField& field, ConstByteSpan record) {
    return textFromBytes(field.read(record));
}

} // namespace

TSBAForm::TSBAForm(ByteVector& master, const NationList* nations, DialogService& dialogs, QWidget* parent)
    : RecordEditorForm(carrierEditorTraits(), std::make_unique<CarrierList>(), master, dialogs, parent),
      carriers_(static_cast<CarrierList&>(collection())), nations_(nations) {
    QWidget* area = fieldArea();
    auto* layout = new QGridLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);

    objectName_ = makeNameBox("ObjectName", area);
    layout->addWidget(new QLabel(tr("Ship Class:"), area), 0, 0);
    layout->addWidget(objectName_, 0, 1);
    connect(objectName_, &QComboBox::editTextChanged, this, &TSBAForm::ChangeObjectName);

    country_ = makeNameBox("Country", area);
    layout->addWidget(new QLabel(tr("Nation:"), area), 1, 0);
    layout->addWidget(country_, 1, 1);
    connect(country_, &QComboBox::editTextChanged, this, &TSBAForm::ChangeCountry);

    numPlatforms_ = makeSpinField(area, fieldNamed(carrierFields, "NumPlatforms"));
    numPlatforms_.edit->setText("1");
    layout->addWidget(new QLabel(tr("No. of Aircraft Types carried:"), area), 2, 0);
    layout->addWidget(numPlatforms_.row, 2, 1);
    connect(numPlatforms_.edit, &QLineEdit::textChanged, this, &TSBAForm::ChangeNumPlatforms);

    auto* group = new QGroupBox(tr("Current Aircraft Type:"), area);
    group->setObjectName("AircraftTypeGroup");
    auto* grid = new QGridLayout(group);
    currentPlatform_ = makeSpinField(group, "CurrentPlatform", 1, 1);
    currentPlatform_.arrows->setWrap(true);
    currentPlatform_.edit->setReadOnly(true);
    currentPlatform_.edit->setText("1");
    grid->addWidget(currentPlatform_.row, 0, 0, 1, 2, Qt::AlignLeft);
    connect(currentPlatform_.edit, &QLineEdit::textChanged, this, &TSBAForm::CheckCurrentPlatform);

    className_ = makeNameBox("ClassName", group);
    grid->addWidget(new QLabel(tr("Class Name:"), group), 1, 0);
    grid->addWidget(className_, 1, 1);
    connect(className_, &QComboBox::editTextChanged, this, &TSBAForm::ChangeClass);

    tagName_ = makeNameBox("TagName", group);
    grid->addWidget(new QLabel(tr("Aircraft Name:"), group), 2, 0);
    grid->addWidget(tagName_, 2, 1);
    connect(tagName_, &QComboBox::editTextChanged, this, &TSBAForm::ChangePlane);

    displayName_ = new QLineEdit(group);
    displayName_->setObjectName("DisplayName");
    displayName_->setReadOnly(true);
    grid->addWidget(displayName_, 3, 1);

    num_ = makeSpinField(group, fieldNamed(aircraftTypeFields, "Num"));
    num_.edit->setText("1");
    grid->addWidget(new QLabel(tr("No. of Aircraft carried:"), group), 4, 0);
    grid->addWidget(num_.row, 4, 1);
    connect(num_.edit, &QLineEdit::textChanged, this, &TSBAForm::ChangeNumAircraft);

    layout->addWidget(group, 3, 0, 1, 2);
    layout->setRowStretch(4, 1);

    createFromMaster();
}

QComboBox* TSBAForm::makeNameBox(const QString& name, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr); // what is typed is stored as typed, never completed
    box->setModel(new QStringListModel(box));
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(28);
    box->lineEdit()->setValidator(new CodePageValidator(box));
    // What the box shows is what its field can store: every carrier text field holds 255.
    box->lineEdit()->setMaxLength(static_cast<int>(fieldNamed(carrierFields, "Country").textLimit));
    return box;
}

QStringList TSBAForm::choices(const QString& boxName) const {
    const auto* box = findChild<QComboBox*>(boxName);
    return box != nullptr ? static_cast<const QStringListModel*>(box->model())->stringList() : QStringList();
}

Carrier* TSBAForm::editableCarrier() {
    const std::optional<std::size_t> position = editablePosition();
    if (!position || showingPart_) {
        return nullptr;
    }
    return &carriers_.carrier(*position);
}

const Nation* TSBAForm::nationMatched() const {
    if (nations_ == nullptr || !nations_->contains(matchedNation_)) {
        return nullptr;
    }
    return &nations_->nation(matchedNation_);
}

const NationClass* TSBAForm::aircraftClassMatched() const {
    const Nation* nation = nationMatched();
    if (nation == nullptr || !matchedAircraftClass_ || *matchedAircraftClass_ >= nation->classes.size()) {
        return nullptr;
    }
    return &nation->classes[*matchedAircraftClass_];
}

const NationNameIndex& TSBAForm::nationNames() {
    // The index is built with the country list and follows the renames and the rebuilds that
    // the nation editor asks for; a look-up before the list was first built builds it.
    if (nations_ != nullptr && nationNames_.size() != nations_->count()) {
        nationNames_.rebuild(nations_->nations());
    }
    return nationNames_;
}

bool TSBAForm::nationChoicesFollow() const {
    return nations_ != nullptr && nationNames_.size() == nations_->count() &&
           static_cast<std::size_t>(country_->count()) == nations_->count();
}

void TSBAForm::lookUpNation() {
    if (nations_ == nullptr) {
        return;
    }
    // The last equal name wins; a name that no nation bears leaves the match as it was.
    if (const std::optional<std::size_t> found = nationNames().lastNamed(typedBytes(country_->currentText()))) {
        if (*found != matchedNation_) {
            matchedAircraftClass_.reset(); // a position among another nation's classes
        }
        matchedNation_ = *found;
    }
}

void TSBAForm::lookUpAircraftClass() {
    const Nation* nation = nationMatched();
    if (nation == nullptr) {
        return;
    }
    const std::string wanted = typedBytes(className_->currentText());
    for (std::size_t i = 0; i < nation->classes.size(); ++i) {
        if (ClassRecord::ClassName.read(nation->classes[i].record) == wanted) {
            matchedAircraftClass_ = i;
        }
    }
}

void TSBAForm::replaceChoices(QComboBox* box, const QStringList& entries) {
    auto* model = static_cast<QStringListModel*>(box->model());
    if (model->stringList() == entries) {
        keepChoices(box);
        return;
    }
    const QString kept = box->currentText();
    const QSignalBlocker quiet(box);
    model->setStringList(entries);
    box->setCurrentIndex(-1);
    box->setEditText(kept);
}

void TSBAForm::keepChoices(QComboBox* box) {
    const QString kept = box->currentText();
    const QSignalBlocker quiet(box);
    box->setCurrentIndex(-1);
    box->setEditText(kept);
}

void TSBAForm::takeFirstChoice(QComboBox* box) {
    if (box->count() > 0) {
        const QSignalBlocker quiet(box);
        box->setCurrentIndex(0);
    }
}

void TSBAForm::RefreshNationList() {
    QStringList names;
    if (nations_ != nullptr) {
        nationNames_.rebuild(nations_->nations());
        names.reserve(static_cast<qsizetype>(nationNames_.size()));
        for (std::size_t i = 0; i < nationNames_.size(); ++i) {
            names << textFromBytes(nationNames_.name(i));
        }
    }
    replaceChoices(country_, names);
    lookUpNation();
}

void TSBAForm::RefreshNationName(std::size_t index) {
    if (!nationChoicesFollow() || !nations_->contains(index)) {
        RefreshNationList();
        return;
    }
    std::string name = NationRecord::CountryName.read(nations_->nation(index).record);
    const QString entry = textFromBytes(name);
    nationNames_.rename(index, std::move(name));
    // The box's entry alone changes; its text stays, and no entry is current, as after a
    // rebuild of the list.
    const QString kept = country_->currentText();
    {
        const QSignalBlocker quiet(country_);
        country_->setCurrentIndex(-1);
        QAbstractItemModel* model = country_->model();
        model->setData(model->index(static_cast<int>(index), 0), entry);
        country_->setEditText(kept);
    }
    lookUpNation();
}

void TSBAForm::RefreshShipClassList() {
    lookUpNation();
    QStringList classes;
    if (const Nation* nation = nationMatched()) {
        for (const NationClass& shipClass : nation->classes) {
            const int type = ClassRecord::ObjType.read(shipClass.record);
            if (type != static_cast<int>(ObjectType::Sub) && type != static_cast<int>(ObjectType::Air)) {
                classes << text(ClassRecord::ClassName, shipClass.record) + " " +
                               text(ClassRecord::Designation, shipClass.record);
            }
        }
    }
    replaceChoices(objectName_, classes);
}

void TSBAForm::RefreshAircraftClassList() {
    QStringList classes;
    if (const Nation* nation = nationMatched()) {
        for (const NationClass& aircraftClass : nation->classes) {
            if (ClassRecord::ObjType.read(aircraftClass.record) == static_cast<int>(ObjectType::Air)) {
                classes << text(ClassRecord::ClassName, aircraftClass.record);
            }
        }
    }
    replaceChoices(className_, classes);
}

void TSBAForm::RefreshAircraftNameList() {
    lookUpAircraftClass();
    QStringList aircraft;
    if (const NationClass* aircraftClass = aircraftClassMatched()) {
        for (const Platform& platform : aircraftClass->platforms) {
            aircraft << text(PlatformRecord::Platform_TagName, platform.record);
        }
    }
    replaceChoices(tagName_, aircraft);
}

void TSBAForm::showFields(std::size_t index) {
    FlagScope showing(showingPart_);
    aircraftTypesAside_.clear();
    const Carrier& carrier = carriers_.carrier(index);
    fieldArea()->setEnabled(true);
    currentAircraft_ = 0;
    objectName_->setEditText(text(CarrierRecord::ObjectName, carrier.record));
    country_->setEditText(text(CarrierRecord::Country, carrier.record));
    const int types = static_cast<int>(carrier.aircraftTypes.size());
    showPosition(numPlatforms_, types);
    currentPlatform_.arrows->setRange(1, types);
    // The country list changes only with the nations, which the nation editor tells of.
    if (nationChoicesFollow()) {
        keepChoices(country_);
        lookUpNation();
    } else {
        RefreshNationList();
    }
    RefreshShipClassList();
    showAircraftType(0);
}

void TSBAForm::showAircraftType(std::size_t index) {
    FlagScope showing(showingPart_);
    const Carrier& carrier = carriers_.carrier(*currentPosition());
    currentAircraft_ = std::min(index, carrier.aircraftTypes.size() - 1);
    const AircraftType& entry = carrier.aircraftTypes[currentAircraft_];
    showPosition(currentPlatform_, static_cast<int>(currentAircraft_) + 1);
    tagName_->setEditText(text(AircraftTypeRecord::TagName, entry.record));
    displayName_->setText(text(AircraftTypeRecord::DisplayName, entry.record));
    className_->setEditText(text(AircraftTypeRecord::ClassName, entry.record));
    showPosition(num_, AircraftTypeRecord::Num.read(entry.record));
    RefreshAircraftClassList();
    RefreshAircraftNameList();
}

void TSBAForm::clearFields() {
    FlagScope showing(showingPart_);
    for (QComboBox* box : {objectName_, country_, className_, tagName_}) {
        box->setEditText(QString());
    }
    displayName_->clear();
    fieldArea()->setEnabled(false);
}

void TSBAForm::ChangeCountry() {
    Carrier* carrier = editableCarrier();
    if (carrier == nullptr) {
        return;
    }
    RefreshShipClassList();
    takeFirstChoice(objectName_);
    // The aircraft classes and aircraft offered are the new nation's, and only its own.
    RefreshAircraftClassList();
    RefreshAircraftNameList();
    CarrierRecord::Country.write(carrier->record, typedBytes(country_->currentText()), TextOverflow::Cut);
    markRecordChanged();
    ChangeObjectName();
}

void TSBAForm::ChangeObjectName() {
    Carrier* carrier = editableCarrier();
    if (carrier == nullptr) {
        return;
    }
    CarrierRecord::ObjectName.write(carrier->record, typedBytes(objectName_->currentText()), TextOverflow::Cut);
    rebuildListWithoutSelection();
    markRecordChanged();
}

void TSBAForm::ChangeNumPlatforms() {
    Carrier* carrier = editableCarrier();
    if (carrier == nullptr) {
        return;
    }
    const auto count = static_cast<std::size_t>(positionAfterTypedText(numPlatforms_));
    if (count == carrier->aircraftTypes.size()) {
        return;
    }
    aircraftTypesAside_.resize(carrier->aircraftTypes, count, newAircraftType);
    CarrierRecord::NumPlatforms.write(carrier->record, static_cast<std::int32_t>(count));
    // The aircraft type on screen may be gone: the spin buttons then stand on the last one.
    currentPlatform_.arrows->setRange(1, static_cast<int>(count));
    markRecordChanged();
    showAircraftType(static_cast<std::size_t>(currentPlatform_.arrows->position()) - 1);
}

void TSBAForm::CheckCurrentPlatform() {
    if (!editablePosition() || showingPart_) {
        return;
    }
    showAircraftType(static_cast<std::size_t>(positionAfterTypedText(currentPlatform_)) - 1);
}

void TSBAForm::ChangeClass() {
    Carrier* carrier = editableCarrier();
    if (carrier == nullptr) {
        return;
    }
    RefreshAircraftNameList();
    takeFirstChoice(tagName_);
    AircraftTypeRecord::ClassName.write(currentEntry(*carrier).record, typedBytes(className_->currentText()),
                                        TextOverflow::Cut);
    markRecordChanged();
    ChangePlane();
}

void TSBAForm::ChangePlane() {
    Carrier* carrier = editableCarrier();
    if (carrier == nullptr) {
        return;
    }
    if (const NationClass* aircraftClass = aircraftClassMatched()) {
        const std::string aircraft = typedBytes(tagName_->currentText());
        for (const Platform& platform : aircraftClass->platforms) {
            if (PlatformRecord::Platform_TagName.read(platform.record) == aircraft) {
                displayName_->setText(text(PlatformRecord::Name, platform.record)); // the last wins
            }
        }
    }
    AircraftType& entry = currentEntry(*carrier);
    AircraftTypeRecord::TagName.write(entry.record, typedBytes(tagName_->currentText()), TextOverflow::Cut);
    AircraftTypeRecord::DisplayName.write(entry.record, typedBytes(displayName_->text()), TextOverflow::Cut);
    markRecordChanged();
}

void TSBAForm::ChangeNumAircraft() {
    Carrier* carrier = editableCarrier();
    if (carrier == nullptr) {
        return;
    }
    AircraftTypeRecord::Num.write(currentEntry(*carrier).record, positionAfterTypedText(num_));
    markRecordChanged();
}

} // namespace keel
