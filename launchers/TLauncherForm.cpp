// SPDX-License-Identifier: MIT
#include "launchers/TLauncherForm.h"

#include "editor/CodePage.h"
#include "editor/CodePageValidator.h"
#include "editor/DialogService.h"
#include "editor/NumberText.h"
#include "launchers/LauncherRecord.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStringListModel>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace keel {
namespace {

using L = LauncherRecord;

const FieldInfo& field(std::string_view name) { return fieldNamed(launcherFields, name); }

RecordEditorTraits launcherEditorTraits() {
    RecordEditorTraits traits{"TLauncherForm", QObject::tr("Launcher Records"), "LauncherList", 3,
                              QObject::tr("New Launcher"), "ldb"};
    traits.sortable = false;
    traits.saveRecordAlwaysAccepts = true;
    return traits;
}

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

int clampedPosition(std::int64_t value, const ArrowControl* arrows) {
    return static_cast<int>(std::clamp<std::int64_t>(value, arrows->minimum(), arrows->maximum()));
}

QString counted(std::size_t count, const QString& one, const QString& many) {
    return QString::number(count) + ' ' + (count == 1 ? one : many);
}

// Tells what deleting a launcher does to the slots that name it or a later one, and what each
// answer does about them.
QString slotRenumberingQuestion(const QString& entry, const MovedLauncherSlots& moved) {
    QString namedBy =
        QObject::tr("%1 of %2 %3 this launcher or one after it; ")
            .arg(counted(moved.slotCount, QObject::tr("launcher slot"),
                         QObject::tr("launcher slots")),
                 counted(moved.objects.size(), QObject::tr("object"), QObject::tr("objects")),
                 moved.slotCount == 1 ? QObject::tr("names") : QObject::tr("name"));
    if (moved.emptied == 0) {
        namedBy += QObject::tr("none of them names this launcher itself.");
    } else if (moved.emptied == moved.slotCount) {
        namedBy += moved.slotCount == 1 ? QObject::tr("it names this launcher itself.")
                                        : QObject::tr("all of them name this launcher itself.");
    } else {
        namedBy += QObject::tr("%1 of them %2 this launcher itself.")
                       .arg(moved.emptied)
                       .arg(moved.emptied == 1 ? QObject::tr("names") : QObject::tr("name"));
    }
    QString emptied;
    if (moved.emptied == 1) {
        emptied = QObject::tr("; the slot that names this launcher becomes empty");
    } else if (moved.emptied > 1) {
        emptied =
            QObject::tr("; the %1 slots that name this launcher become empty").arg(moved.emptied);
    }
    return QObject::tr("Deleting \"%1\" moves every launcher after it up one place. ").arg(entry) +
           namedBy + "\n\n" +
           QObject::tr("Yes: delete it and renumber those slots, so that each keeps naming the "
                       "same launcher") +
           emptied + ".\n" +
           QObject::tr(
               "No: delete it and leave the slots' numbers as they are, so that they name another "
               "launcher than before, or none.") +
           "\n" + QObject::tr("Cancel: keep the launcher.");
}

// Room in a number box for a float written with all its fifteen digits.
int fifteenDigitWidth(const QWidget* box) {
    return box->fontMetrics().horizontalAdvance("-32767.0000000000") + 12;
}

} // namespace

TLauncherForm::TLauncherForm(ByteVector& master, DialogService& dialogs, QWidget* parent)
    : FixedRecordEditorForm(launcherEditorTraits(), {L::Size, L::LauncherName}, master, dialogs, parent),
      ammunitionChoices_(new QStringListModel(this)) {
    auto* area = new QVBoxLayout(fieldArea());
    area->setContentsMargins(0, 0, 0, 0);

    auto* nameRow = new QHBoxLayout;
    launcherName_ = makeTextField(fieldArea(), field("LauncherName"));
    launcherName_->setFixedWidth(launcherName_->fontMetrics().averageCharWidth() * 24);
    nameRow->addWidget(new QLabel(tr("Name:"), fieldArea()));
    nameRow->addWidget(launcherName_);
    nameRow->addStretch();
    area->addLayout(nameRow);
    connect(launcherName_, &QLineEdit::textChanged, this, &TLauncherForm::ChangeLauncherName);

    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    auto* middle = new QVBoxLayout;
    columns->addLayout(left);
    columns->addLayout(middle);
    area->addLayout(columns);

    // Weapon details: four ammunition types with their rounds, and the sound file.
    QGroupBox* weapons = makeGroup(tr("Weapon Details"), fieldArea());
    auto* weaponGrid = new QGridLayout(weapons);
    for (int i = 0; i < 4; ++i) {
        auto* box = new QComboBox(weapons);
        box->setObjectName(QString("weap%1").arg(i));
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setCompleter(nullptr); // what is typed is stored as typed, never completed
        box->setModel(ammunitionChoices_);
        // A width of its own, so that a refill of thousands of names lays nothing out again.
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(20);
        box->lineEdit()->setMaxLength(static_cast<int>(field("weap" + std::to_string(i)).textLimit));
        box->lineEdit()->setValidator(new CodePageValidator(box));
        weaponGrid->addWidget(new QLabel(tr("Ammo Type %1:").arg(i + 1), weapons), i, 0);
        weaponGrid->addWidget(box, i, 1);
        connect(box, &QComboBox::editTextChanged, this, &TLauncherForm::ChangeWeap);
        ammunition_[static_cast<std::size_t>(i)] = box;
        addWholeNumber(weaponGrid, i, 2, tr("No. Rounds:"), field("quant" + std::to_string(i)),
                       &TLauncherForm::ChangeQuant);
    }
    soundFile_ = makeTextField(weapons, field("SoundFile"));
    weaponGrid->addWidget(new QLabel(tr("Sound File:"), weapons), 4, 0);
    weaponGrid->addWidget(soundFile_, 4, 1);
    connect(soundFile_, &QLineEdit::textChanged, this, &TLauncherForm::ChangSoundFile);
    left->addWidget(weapons);

    QGroupBox* firing = makeGroup(tr("Firing Details"), fieldArea());
    auto* firingGrid = new QGridLayout(firing);
    addWholeNumber(firingGrid, 0, 0, tr("Rate of fire(RPM):"), field("rdsPerMin"), &TLauncherForm::ChangeSimpleNum);
    addWholeNumber(firingGrid, 1, 0, tr("Addtional Ammo Clips:"), field("magazine"), &TLauncherForm::ChangeSimpleNum);
    addWholeNumber(firingGrid, 2, 0, tr("Ammo Swap Time:"), field("swap"), &TLauncherForm::ChangeSimpleNum);
    addWholeNumber(firingGrid, 3, 0, tr("Clip Reload Time:"), field("load"), &TLauncherForm::ChangeSimpleNum);
    addWholeNumber(firingGrid, 4, 0, tr("Max Number of Rounds Guidable:"), field("maxNumRdsGuideable"), &TLauncherForm::ChangeMaxNumRdsGuideable,
                   "UpDown_MaxNumRdsGuidable");
    left->addWidget(firing);
    left->addStretch();

    QGroupBox* appearance = makeGroup(tr("Appearance Details"), fieldArea());
    auto* appearanceGrid = new QGridLayout(appearance);
    addWholeNumber(appearanceGrid, 0, 0, tr("No. of Tubes/Barrels:"), field("tubes"), &TLauncherForm::ChangeSimpleNum);
    auto* dimensions = new QHBoxLayout;
    for (const FieldInfo& typedOnly : {field("rows"), field("cols")}) {
        const QString name = controlName(typedOnly);
        auto* edit = new QLineEdit(appearance);
        edit->setObjectName(name);
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance("-32768") + 14);
        wholeNumbers_.insert(name, {typedOnly.integer(), edit, nullptr});
        connect(edit, &QLineEdit::textChanged, this, &TLauncherForm::ChangeSimpleNum);
        if (name == "cols") {
            dimensions->addWidget(new QLabel(tr("X"), appearance));
        }
        dimensions->addWidget(edit);
    }
    dimensions->addStretch();
    appearanceGrid->addWidget(new QLabel(tr("Dimensions:"), appearance), 1, 0);
    appearanceGrid->addLayout(dimensions, 1, 1);
    middle->addWidget(appearance);

    QGroupBox* angles = makeGroup(tr("Angles(Degrees)"), fieldArea());
    auto* angleGrid = new QGridLayout(angles);
    addWholeNumber(angleGrid, 0, 0, tr("Firing Cone half-angle:"), field("cone"), &TLauncherForm::ChangeSimpleNum);
    addWholeNumber(angleGrid, 1, 0, tr("Heading when centered:"), field("centre"), &TLauncherForm::ChangeSimpleNum);
    addWholeNumber(angleGrid, 2, 0, tr("Current Heading:"), field("hRel"), &TLauncherForm::ChangeSimpleNum);
    addWholeNumber(angleGrid, 3, 0, tr("Current Pitch:"), field("pRel"), &TLauncherForm::ChangeSimpleNum);
    middle->addWidget(angles);

    QGroupBox* characteristics = makeGroup(tr("Characteristics"), fieldArea());
    auto* characteristicsRow = new QHBoxLayout(characteristics);
    for (const LauncherCharacteristic& characteristic : launcherCharacteristics) {
        auto* check = new QCheckBox(latin1(characteristic.caption), characteristics);
        check->setObjectName(latin1(characteristic.control));
        characteristics_.insert(check->objectName(), check);
        characteristicsRow->addWidget(check);
        connect(check, &QCheckBox::toggled, this, &TLauncherForm::ChangedFixed);
    }
    middle->addWidget(characteristics);
    middle->addStretch();

    QGroupBox* location = makeGroup(tr("Location Details"), fieldArea());
    auto* locationGrid = new QGridLayout(location);
    addCoordinates(locationGrid, 0, tr("Location on Platform"), {field("centx"), field("centy"), field("centz")});
    addCoordinates(locationGrid, 1, tr("Top-Left Corner"), {field("x1"), field("y1"), field("z1")});
    addCoordinates(locationGrid, 2, tr("Bottom-Right Corner"), {field("x2"), field("y2"), field("z2")});
    columns->addWidget(location, 0, Qt::AlignTop);

    createFromMaster();
}

QGroupBox* TLauncherForm::makeGroup(const QString& caption, QWidget* parent) { return new QGroupBox(caption, parent); }

void TLauncherForm::addWholeNumber(QGridLayout* grid, int row, int column, const QString& label,
                                   const FieldInfo& field, void (TLauncherForm::*handler)(), const QString& arrowsName) {
    QWidget* box = grid->parentWidget();
    const SpinField spin = makeSpinField(box, field);
    if (!arrowsName.isEmpty()) {
        spin.arrows->setObjectName(arrowsName);
    }
    spin.edit->setFixedWidth(spin.edit->fontMetrics().horizontalAdvance("4294967295") + 14);
    grid->addWidget(new QLabel(label, box), row, column);
    grid->addWidget(spin.row, row, column + 1);
    wholeNumbers_.insert(controlName(field), {field.integer(), spin.edit, spin.arrows});
    connect(spin.edit, &QLineEdit::textChanged, this, handler);
}

void TLauncherForm::addCoordinates(QGridLayout* grid, int row, const QString& caption,
                                   const std::array<FieldInfo, 3>& coordinates) {
    QWidget* parent = grid->parentWidget();
    auto* group = makeGroup(caption, parent);
    auto* groupGrid = new QGridLayout(group);
    const std::array<QString, 3> axes{tr("X:"), tr("Y:"), tr("Z:")};
    int line = 0;
    for (const FieldInfo& coordinate : coordinates) {
        const QString name = controlName(coordinate);
        const SpinField spin = makeSpinField(group, coordinate);
        spin.edit->setMinimumWidth(fifteenDigitWidth(spin.edit));
        spin.edit->setMaximumWidth(fifteenDigitWidth(spin.edit));
        groupGrid->addWidget(new QLabel(axes[static_cast<std::size_t>(line)], group), line, 0);
        groupGrid->addWidget(spin.row, line, 1);
        coordinates_.insert(name, {NumberField<float>{coordinate.offset}, spin.edit});
        connect(spin.edit, &QLineEdit::textChanged, this, &TLauncherForm::ChangeFloat);
        ++line;
    }
    grid->addWidget(group, row, 0);
}

// The choices change, not the record: the boxes keep their texts and nothing is stored.
void TLauncherForm::changeAmmunitionChoices(const std::function<void()>& change) {
    std::array<QString, 4> texts;
    std::vector<std::unique_ptr<QSignalBlocker>> quiet;
    for (std::size_t i = 0; i < ammunition_.size(); ++i) {
        texts[i] = ammunition_[i]->currentText();
        quiet.push_back(std::make_unique<QSignalBlocker>(ammunition_[i]));
    }
    change();
    for (std::size_t i = 0; i < ammunition_.size(); ++i) {
        ammunition_[i]->setCurrentIndex(-1);
        ammunition_[i]->setEditText(texts[i]);
    }
}

void TLauncherForm::refillAmmunitionLists(const QStringList& weaponNames) {
    changeAmmunitionChoices([&] { ammunitionChoices_->setStringList(weaponNames); });
}

void TLauncherForm::renameAmmunition(std::size_t entry, const QString& name) {
    changeAmmunitionChoices([&] { ammunitionChoices_->setData(ammunitionChoices_->index(static_cast<int>(entry)), name); });
}

void TLauncherForm::insertAmmunition(std::size_t entry, const QString& name) {
    changeAmmunitionChoices([&] {
        const int row = static_cast<int>(entry);
        ammunitionChoices_->insertRows(row, 1);
        ammunitionChoices_->setData(ammunitionChoices_->index(row), name);
    });
}

void TLauncherForm::removeAmmunition(std::size_t entry) {
    changeAmmunitionChoices([&] { ammunitionChoices_->removeRows(static_cast<int>(entry), 1); });
}

void TLauncherForm::putFields(ConstByteSpan record) {
    fieldArea()->setEnabled(true);
    launcherName_->setText(textFromBytes(L::LauncherName.read(record)));
    soundFile_->setText(textFromBytes(L::SoundFile.read(record)));
    for (std::size_t i = 0; i < ammunition_.size(); ++i) {
        ammunition_[i]->setEditText(textFromBytes(L::ammunitionTypes[i].read(record)));
    }
    for (const WholeNumberBox& box : std::as_const(wholeNumbers_)) {
        const std::int64_t value = box.field.read(record);
        if (box.arrows != nullptr) {
            box.arrows->setPosition(clampedPosition(value, box.arrows));
        }
        box.edit->setText(QString::number(value));
    }
    for (const auto& [field, edit] : std::as_const(coordinates_)) {
        edit->setText(formatFloat(field.read(record)));
        edit->setCursorPosition(0);
    }
    const std::uint16_t bits = L::characteristics.read(record);
    for (const LauncherCharacteristic& characteristic : launcherCharacteristics) {
        characteristics_.value(latin1(characteristic.control))->setChecked((bits & characteristic.bit) != 0);
    }
}

void TLauncherForm::clearFields() {
    for (QLineEdit* edit : fieldArea()->findChildren<QLineEdit*>()) {
        edit->clear();
    }
    for (QCheckBox* check : std::as_const(characteristics_)) {
        check->setChecked(false);
    }
    fieldArea()->setEnabled(false);
}

bool TLauncherForm::confirmDelete(std::size_t index) {
    pendingRenumbering_.reset();
    if (launcherSlots_ == nullptr) {
        return true;
    }
    const LauncherDelete launcherDelete(index + 1, records().count());
    MovedLauncherSlots moved = launcherSlots_->launcherSlotsMovedBy(launcherDelete);
    if (!moved.any()) {
        return true;
    }
    const DialogService::Answer answer =
        dialogs().ask(tr("Confirmation"), slotRenumberingQuestion(entryText(index), moved),
                      DialogService::Choice::YesNoCancel);
    if (answer == DialogService::Answer::Cancel) {
        return false;
    }
    if (answer == DialogService::Answer::Yes) {
        pendingRenumbering_ = SlotRenumbering{launcherDelete, std::move(moved)};
    }
    return true;
}

void TLauncherForm::afterRecordsChanged(RecordsChange change) {
    if (change == RecordsChange::Deleted && pendingRenumbering_ && launcherSlots_ != nullptr) {
        launcherSlots_->renumberLauncherSlotsAfterDelete(pendingRenumbering_->moved,
                                                         pendingRenumbering_->launcherDelete);
    }
    pendingRenumbering_.reset();
}

void TLauncherForm::ChangeLauncherName() { storeRecordName(launcherName_->text()); }

void TLauncherForm::ChangSoundFile() { storeText(L::SoundFile, soundFile_->text()); }

void TLauncherForm::ChangeWeap() {
    const auto* box = qobject_cast<const QComboBox*>(sender());
    const auto found = std::find(ammunition_.begin(), ammunition_.end(), box);
    if (box == nullptr || found == ammunition_.end()) {
        return;
    }
    storeText(L::ammunitionTypes[static_cast<std::size_t>(found - ammunition_.begin())], box->currentText());
}

void TLauncherForm::storeWholeNumber(const QString& name) {
    const ByteSpan record = editableRecord();
    const auto box = wholeNumbers_.constFind(name);
    if (record.empty() || box == wholeNumbers_.cend() || numberStillBeingTyped(box->edit)) {
        return;
    }
    // Typed numbers are not held to the arrows' range, only to what the field can hold.
    const std::optional<std::int64_t> typed = typedWholeNumber(box->edit->text(), box->field);
    if (!typed) {
        showStoredAfterRefusal(box->edit, QString::number(box->field.read(record)));
        return;
    }
    box->field.write(record, *typed);
    if (box->arrows != nullptr) {
        box->arrows->setPosition(clampedPosition(*typed, box->arrows));
    }
    markRecordChanged();
}

void TLauncherForm::ChangeQuant() { storeWholeNumber(sender() ? sender()->objectName() : QString()); }
void TLauncherForm::ChangeSimpleNum() { storeWholeNumber(sender() ? sender()->objectName() : QString()); }
void TLauncherForm::ChangeMaxNumRdsGuideable() { storeWholeNumber("maxNumRdsGuideable"); }

void TLauncherForm::ChangeFloat() {
    const ByteSpan record = editableRecord();
    const auto found = coordinates_.constFind(sender() ? sender()->objectName() : QString());
    if (record.empty() || found == coordinates_.cend()) {
        return;
    }
    const auto& [field, edit] = *found;
    if (numberStillBeingTyped(edit)) {
        return;
    }
    if (const std::optional<float> typed = typedFloat(edit->text())) {
        field.write(record, *typed);
        markRecordChanged();
    } else {
        showStoredAfterRefusal(edit, formatFloat(field.read(record)));
    }
}

void TLauncherForm::ChangedFixed() {
    const ByteSpan record = editableRecord();
    const auto* check = qobject_cast<const QCheckBox*>(sender());
    if (record.empty() || check == nullptr) {
        return;
    }
    for (const LauncherCharacteristic& characteristic : launcherCharacteristics) {
        if (check->objectName() == latin1(characteristic.control)) {
            L::characteristics.set(record, characteristic.bit, check->isChecked());
            markRecordChanged();
        }
    }
}

} // namespace keel
