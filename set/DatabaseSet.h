// SPDX-License-Identifier: MIT
#pragma once

#include "common/Bytes.h"

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace keel {

// The seven files of a database directory, in the order in which they are loaded.
enum class DatabaseFile {
    Objects,
    Launchers,
    ShipBasedAircraft,
    Missions,
    ThreeDObjects,
    Sensors,
    Airstrips,
};

inline constexpr std::array<DatabaseFile, 7> loadOrder{
    DatabaseFile::Objects,   DatabaseFile::Launchers,     DatabaseFile::ShipBasedAircraft,
    DatabaseFile::Missions,  DatabaseFile::ThreeDObjects, DatabaseFile::Sensors,
    DatabaseFile::Airstrips,
};

// The five files a save writes, in the order it writes them; the sensor and airstrip lists
// are only ever read.
inline constexpr std::array<DatabaseFile, 5> saveOrder{
    DatabaseFile::Objects,       DatabaseFile::ShipBasedAircraft, DatabaseFile::Missions,
    DatabaseFile::ThreeDObjects, DatabaseFile::Launchers,
};

// The file's own name in the database directory.
std::string_view fileName(DatabaseFile file);

// Where the files of a set stand in a directory. A set copied from a file system that ignores
// letter case often holds OBJECTS.ODB or 3DObjects.3DB: the one file whose name matches a
// file's own name ignoring ASCII case is that file of the set, under whatever case it has. Two
// or more such files (objects.odb beside OBJECTS.ODB) leave it unknown which one is meant.
class SetDirectory {
public:
    struct Found {
        std::string name; // the name to read and write: the one that matched, else the file's own
        bool exists = false;                // a file of that name stands there
        std::vector<std::string> sameNames; // every name that matched, when more than one did

        bool ambiguous() const { return !sameNames.empty(); }
        // "OBJECTS.ODB and objects.odb both stand there, names that differ only in letter case"
        std::string ambiguity() const;
    };

    // Lists the directory once. One that cannot be listed leaves every file under its own name.
    explicit SetDirectory(const std::filesystem::path& directory);
    Found find(DatabaseFile file) const;

private:
    std::filesystem::path directory_;
    std::vector<std::string> names_;
    bool listed_ = false;
};

// A structured file (mission.db, shipbasedaircraft.db) that could not be read as it stands
// when the set was loaded, and that a save is about to replace with other content.
struct DamagedFile {
    DatabaseFile file;
    std::filesystem::path path;   // the file the save would replace
    std::filesystem::path backup; // where the content it was loaded with would be kept
    std::string damage;           // what was found wrong, a sentence a line
};

enum class DamagedFileAnswer {
    Replace,  // keep the loaded content as the backup, then write the file
    KeepFile, // leave the file as it is and save the others
    Cancel,   // save nothing at all
};

// Asked once for each damaged file before anything is written. The main window shows
// damagedFileQuestion(file) with Yes, No and Cancel.
using DamagedFileQuestion = std::function<DamagedFileAnswer(const DamagedFile&)>;
std::string damagedFileQuestion(const DamagedFile& file);

// The master buffers of the seven files: each the whole byte image of its file, read in one
// piece. The set remembers which files were read, so that a save never replaces a file it
// could not read with an empty buffer, and it remembers what was wrong with a structured file,
// so that a save never silently replaces it with the part that could be read.
class DatabaseSet {
public:
    struct LoadResult;

    // Reads the files in load order from `directory` and stops at the first that cannot be
    // read. Load into a fresh set and switch to it only on success, so that a failure leaves
    // the set in use as it was.
    static LoadResult load(const std::filesystem::path& directory);

    ByteVector& buffer(DatabaseFile file) { return buffers_[index(file)]; }
    const ByteVector& buffer(DatabaseFile file) const { return buffers_[index(file)]; }

    bool wasRead(DatabaseFile file) const { return read_[index(file)]; }
    bool complete() const;
    std::vector<DatabaseFile> unreadFiles() const;

    // What was wrong with a structured file when it was loaded; empty when it was sound. The
    // texts from the file that it quotes are in the file's code page.
    const std::string& damage(DatabaseFile file) const { return damage_[index(file)]; }

    enum class SkipReason {
        NotRead,     // the file was not read when the set was loaded, and one stands there
        DamagedKept, // the file was damaged and the answer was to keep it
    };
    struct SkippedFile {
        DatabaseFile file;
        SkipReason reason;
    };
    struct SaveResult {
        // "Cannot create file %s" (with the path) or "Stream write error": the file it names
        // and those after it in the save order were not written. "Cannot create file %s: "
        // with the two names of one file that stand there: nothing was written.
        std::optional<std::string> error;
        std::string reason; // the system's description of the failure
        bool cancelled = false;
        std::vector<DatabaseFile> written;
        std::vector<SkippedFile> skipped;
        std::vector<std::filesystem::path> backups;

        bool ok() const { return !error && !cancelled; }
    };

    // The name the file was read under, which may differ from fileName(file) in letter case;
    // fileName(file) for a file that was not read.
    const std::string& storedName(DatabaseFile file) const { return names_[index(file)]; }

    // Writes the five editable files into `directory` in save order, each replaced atomically,
    // so that a failed or interrupted save leaves every file whole. Each replaces the file of
    // its name in any letter case that stands there (see SetDirectory), or else is written
    // under the name it was read under, so that a set is saved back under its own names and
    // never holds a second file of another case. Where two files of such names stand, nothing
    // at all is written. A file that was not read is written only where no file of its name
    // stands, and counts as read once written. A damaged file whose buffer no longer holds what
    // was loaded is written only when `askAboutDamage` answers Replace, after its loaded
    // content was saved beside it as "<name>.bak"; without a question it is kept. A replaced
    // file counts as sound afterwards.
    SaveResult save(const std::filesystem::path& directory,
                    const DamagedFileQuestion& askAboutDamage = {});

private:
    static std::size_t index(DatabaseFile file) { return static_cast<std::size_t>(file); }
    static std::array<std::string, loadOrder.size()> ownNames();
    void noteDamage(DatabaseFile file);

    std::array<ByteVector, loadOrder.size()> buffers_;
    std::array<std::string, loadOrder.size()> names_ = ownNames();
    std::array<bool, loadOrder.size()> read_{};
    std::array<std::string, loadOrder.size()> damage_;
    // The content a damaged file was loaded with, for its backup.
    std::array<ByteVector, loadOrder.size()> loadedDamaged_;
};

struct DatabaseSet::LoadResult {
    DatabaseSet set; // holds the files read before the failure, if there was one
    std::optional<std::string> failedFile; // the path of the file that could not be read
    std::string reason;                    // the system's description of that failure
    bool ambiguous = false; // the failure was two files of the name, which `reason` names
};

// The report for a set just loaded: the damage of every damaged file, in load order and in the
// words of damagedFileQuestion, so that the user hears of it before working on the file rather
// than when saving; empty when every file was sound.
std::string loadedDamageReport(const DatabaseSet& set);

// What a save that left files alone wrote and what it did not, a sentence for each file it
// skipped, for the main window to show; empty when it skipped none.
std::string saveReportText(const DatabaseSet::SaveResult& result,
                           const std::filesystem::path& directory);

} // namespace keel
