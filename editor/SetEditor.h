// SPDX-License-Identifier: MIT
#pragma once

namespace keel {

// What the main window needs of every editor of the database set to save it and to ask before
// unsaved work is lost.
class SetEditor {
public:
    virtual ~SetEditor() = default;
    // Any change at all not yet on disk, accepted or still on screen.
    virtual bool holdsUnsavedWork() const = 0;
    // The changes a save writes: the set-changed mark (the only mark, where there is one).
    virtual bool holdsAcceptedChanges() const = 0;
    virtual void clearAcceptedChanges() = 0;
    virtual void markAcceptedChanges() = 0;
    // Writes the working copy into the master buffer in the file's format.
    virtual void commit() = 0;
};

} // namespace keel
