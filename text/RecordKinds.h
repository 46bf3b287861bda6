// SPDX-License-Identifier: MIT
#pragma once

#include "common/FieldTable.h"
#include "set/DatabaseSet.h"

#include <array>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace keel {

// The seven kinds of file a set holds, with everything keeltext needs to know to read, write,
// show and compare them. An exchange file of the editors is of the kind of its database.
enum class RecordKind {
    Objects,
    Launchers,
    ThreeDObjects,
    Nations,
    Carriers,
    Sensors,
    Airstrips,
};

// One level of records. A fixed-record kind has a single level. A counted-block kind has a
// level for the record that opens each block (a nation, a carrier) and one for each kind of
// record nested below it (classes, then platforms; aircraft types): each record but the
// deepest counts the records of the next level that follow it.
struct RecordLevel {
    std::string_view word;     // "nation", "class", "platform": for messages and JSON paths
    std::size_t size;          // of one record, in bytes
    FieldTable fields;         // packed: every byte of the record lies in one field
    std::string_view keyField; // the field that names the record
    // Of every level but the deepest: the field that counts the next level's records and the
    // JSON member that lists them. A count follows from its list; it is no value of its own.
    const FieldInfo* countField = nullptr;
    std::string_view childrenMember;
    // A field that names the record together with its key, where the key alone does not: a
    // carrier is its nation's ship class, named by Country and ObjectName.
    std::string_view ownerField = {};

    constexpr bool hasChildren() const { return countField != nullptr; }
    // A value a person reads and writes: no reserved bytes, no count.
    constexpr bool isValue(const FieldInfo& field) const {
        return field.kind != FieldKind::Reserved && &field != countField;
    }
};

// How records of a kind are told apart when two files are compared: by their names, or by
// their positions where other records refer to them by position.
enum class RecordMatch { ByName, ByPosition };

struct RecordKindInfo {
    RecordKind kind;
    std::string_view name;        // as given to --kind: "objects"
    DatabaseFile file;            // its file in a set
    std::string_view setFileName; // "objects.odb"
    std::string_view extension;   // ".odb"
    bool counted;                 // a count, then blocks of records; else a plain run of records
    std::span<const RecordLevel> levels; // the top level first
    RecordMatch match;

    constexpr const RecordLevel& top() const { return levels.front(); }
    // The size of a record of a fixed-record kind.
    constexpr std::size_t recordSize() const { return top().size; }
};

// The seven kinds in the order of a set's files as listed above.
std::span<const RecordKindInfo> recordKinds();
const RecordKindInfo& recordKind(RecordKind kind);
// The kind of a --kind name: "objects", "launchers", "3dobjects", "nations", "carriers",
// "sensors", "airstrips".
std::optional<RecordKind> recordKindNamed(std::string_view name);
// "objects, launchers, 3dobjects, nations, carriers, sensors, airstrips".
std::string recordKindNames();

// The kind of a file from its name, with the letters' case ignored: a set's file name, else
// the extension of a set's file. A ".db" file is a nation or a carrier exchange file, which
// only the user can tell apart. On failure the result is a sentence for the user.
std::variant<RecordKind, std::string> recordKindOfFile(const std::filesystem::path& file);

// The kind given with --kind, or else the kind of the file's name.
std::variant<RecordKind, std::string> recordKindFor(const std::filesystem::path& file,
                                                    std::optional<RecordKind> given);

} // namespace keel
