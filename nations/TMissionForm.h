// SPDX-License-Identifier: MIT
#pragma once

#include "common/EntriesAside.h"
#include "editor/FieldControls.h"
#include "editor/RecordEditorForm.h"
#include "nations/NationEditorLinks.h"
#include "nations/NationList.h"
#include "objects/ObjectEditorLinks.h"

#include <map>

class QComboBox;
class QGroupBox;
class QLineEdit;

namespace keel {

class RecordTable;
class TagNameBox;

// The editor of mission.db: one record per nation, each a whole nation block with its classes
// and their platforms. The nation, the class and the platform on screen are shown one inside
// the other; the class and platform selectors move within the nation without touching the
// marks. The tag-name lists offer the object editor's objects of the kinds a class may name.
class TMissionForm : public RecordEditorForm, public TagNameChoices {
    Q_OBJECT

public:
    TMissionForm(ByteVector& master, DialogService& dialogs, QWidget* parent = nullptr);

    const NationList& nations() const { return nations_; }
    std::size_t shownClass() const { return shownClass_; }
    std::size_t shownPlatform() const { return shownPlatform_; }

    // The object editor's working copy, whose objects the tag-name lists offer.
    void setObjectRecords(const RecordTable* objects);
    // The carrier editor, told after the changes it shows; null takes it out again.
    void setCarrierLists(CarrierLists* carriers) { carriers_ = carriers; }

    // The objects' names or types changed: the lists are read again when next looked at.
    void refillTagNameLists() override;
    // What a tag-name box offers now, as its drop-down shows it.
    QStringList tagNameChoices(const QString& boxName) const;

public slots:
    void ChangeCountryName();
    void ChangeNumClasses();
    void ChangeCurrentClass();
    void ChangeObjType();
    void ChangeClassTagName();
    void ChangeClassName();
    void ChangeDesignation();
    void ChangeNumObjects();
    void ChangeCurrentPlatform();
    void ChangePlatformTagName();
    void ChangeName();
    void ChangeHullNum();

protected:
    void showFields(std::size_t index) override;
    void clearFields() override;
    void afterRecordsChanged(RecordsChange change) override;
    void afterRecordAccepted() override { letGoOfEntriesAside(); }

private:
    // The nation on screen, for a handler to store into; none while the editor or this window
    // fills its controls, or when no nation is shown.
    Nation* editableNation();
    NationClass& shownClassOf(Nation& nation) { return nation.classes[shownClass_]; }
    void showClass(std::size_t index);
    void showPlatform(std::size_t index);
    void applyEnablingRule(int type);
    void setClassTypeOfLists(int type);
    void stored();
    void letGoOfEntriesAside();
    template <typename... Refresh> void refreshCarriers(Refresh... refresh);

    NationList& nations_;
    CarrierLists* carriers_ = nullptr;
    std::size_t shownClass_ = 0;
    std::size_t shownPlatform_ = 0;
    bool showingPart_ = false; // a class or platform is being put into the controls
    // What the count boxes dropped from the nation on screen, until it is accepted or shown
    // anew; the platforms by the number of their class, counting from 0.
    EntriesAside<NationClass> classesAside_;
    std::map<std::size_t, EntriesAside<Platform>> platformsAside_;

    QLineEdit* countryName_;
    SpinField numClasses_;
    SpinField currentClass_;
    QComboBox* objType_;
    TagNameBox* classTagName_;
    QLineEdit* className_;
    QLineEdit* designation_;
    SpinField numObjects_;
    SpinField currentPlatform_;
    TagNameBox* platformTagName_;
    QLineEdit* name_;
    SpinField hullNum_;
};

} // namespace keel
