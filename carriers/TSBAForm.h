// SPDX-License-Identifier: MIT
#pragma once

#include "carriers/CarrierList.h"
#include "carriers/NationNameIndex.h"
#include "common/EntriesAside.h"
#include "editor/FieldControls.h"
#include "editor/RecordEditorForm.h"
#include "nations/NationEditorLinks.h"
#include "nations/NationList.h"

class QComboBox;
class QLineEdit;
class QStringListModel;

namespace keel {

// The editor of shipbasedaircraft.db: which aircraft each carrier class of a nation embarks.
// Every name it offers comes from the nation editor's data as it stands, unsaved changes
// included; the nation editor tells it which list to build again after a change there, and
// which nation it renamed, so that the country list and the index of nation names are kept
// from those messages and not read again at every carrier shown. Names are looked up exactly,
// and of two equal names the later one wins.
class TSBAForm : public RecordEditorForm, public CarrierLists {
    Q_OBJECT

public:
    // The nation editor, whose data the lists offer, exists before this editor and outlives it.
    TSBAForm(ByteVector& master, const NationList* nations, DialogService& dialogs, QWidget* parent = nullptr);

    const CarrierList& carriers() const { return carriers_; }
    std::size_t currentAircraftType() const { return currentAircraft_; }
    std::size_t matchedNation() const { return matchedNation_; }
    // None until a class of the matched nation was named, and again once another nation is.
    std::optional<std::size_t> matchedAircraftClass() const { return matchedAircraftClass_; }
    // What a drop-down list offers now.
    QStringList choices(const QString& boxName) const;

    void RefreshNationList() override;
    void RefreshNationName(std::size_t index) override;
    void RefreshShipClassList() override;
    void RefreshAircraftClassList() override;
    void RefreshAircraftNameList() override;

public slots:
    void ChangeCountry();
    void ChangeObjectName();
    void ChangeNumPlatforms();
    void CheckCurrentPlatform();
    void ChangeClass();
    void ChangePlane();
    void ChangeNumAircraft();

protected:
    void showFields(std::size_t index) override;
    void clearFields() override;
    void afterRecordAccepted() override { aircraftTypesAside_.clear(); }

private:
    // The carrier on screen, for a handler to store into; none while the editor fills its
    // controls, or when no carrier is shown.
    Carrier* editableCarrier();
    AircraftType& currentEntry(Carrier& carrier) { return carrier.aircraftTypes[currentAircraft_]; }
    void showAircraftType(std::size_t index);
    // The matched nation and aircraft class, when the nation editor still holds them.
    const Nation* nationMatched() const;
    const NationClass* aircraftClassMatched() const;
    // The nations' names by name, for the look-up of the country box's text.
    const NationNameIndex& nationNames();
    // The country list offers a name for each of the nation editor's nations, as the last
    // build of it and the renames since left them.
    bool nationChoicesFollow() const;
    // Looks up the matched nation; a class matched in another nation is no longer matched.
    void lookUpNation();
    void lookUpAircraftClass();
    // Replaces a list's entries; the text in the box stays as it was and no handler runs.
    void replaceChoices(QComboBox* box, const QStringList& entries);
    // Lets the box keep its entries as replaceChoices would leave them.
    void keepChoices(QComboBox* box);
    // Puts the first entry of a list into its box without running its handler.
    void takeFirstChoice(QComboBox* box);
    QComboBox* makeNameBox(const QString& name, QWidget* parent);

    CarrierList& carriers_;
    const NationList* nations_;
    NationNameIndex nationNames_;
    std::size_t currentAircraft_ = 0;
    std::size_t matchedNation_ = 0;
    std::optional<std::size_t> matchedAircraftClass_;
    bool showingPart_ = false; // an aircraft type is being put into the controls
    // What the count box dropped from the carrier on screen, until it is accepted or shown anew.
    EntriesAside<AircraftType> aircraftTypesAside_;

    QComboBox* objectName_;
    QComboBox* country_;
    SpinField numPlatforms_;
    SpinField currentPlatform_;
    QComboBox* className_;
    QComboBox* tagName_;
    QLineEdit* displayName_;
    SpinField num_;
};

} // namespace keel
