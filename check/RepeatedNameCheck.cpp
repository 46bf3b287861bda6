// SPDX-License-Identifier: MIT
#include "check/RepeatedNameCheck.h"

#include "launchers/LauncherRecord.h"
#include "objects/ObjectRecord.h"
#include "threed/ThreeDRecord.h"

namespace keel {
namespace {

struct NamedFile {
    DatabaseFile file;
    std::size_t recordSize;
    const FieldInfo& nameField; // from the record's field table
    std::string_view recordWord;
};

void checkFile(const CheckedSet& set, const NameIndex& names, const NamedFile& named,
               FindingList& findings) {
    if (!set.has(named.file)) {
        return;
    }
    const ConstByteSpan file = set.bytes(named.file);
    const auto nameOf = [&](std::size_t index) {
        return named.nameField.text().read(file.subspan(index * named.recordSize, named.recordSize));
    };
    for (std::size_t i = 0; i < names.count(); ++i) {
        const std::size_t first = names.firstOf(i);
        if (first == i) {
            continue;
        }
        const std::string name = nameOf(i);
        const std::string firstName = nameOf(first);
        std::string problem = "is also the name of " + std::string(named.recordWord) + " " +
                              std::to_string(first + 1);
        problem += firstName == name ? "" : " (" + quotedText(firstName) + ", letter case ignored)";
        findings.add({FindingKind::RepeatedName, named.file, i + 1, name,
                      std::string(named.nameField.name), problem});
    }
}

} // namespace

void RepeatedNameCheck::run(const SetIndexes& indexes, FindingList& findings) const {
    checkFile(indexes.set, indexes.objects.names(),
              {DatabaseFile::Objects, ObjectRecord::Size, fieldNamed(objectFields, "ObjectName"), "object"},
              findings);
    checkFile(indexes.set, indexes.launchers,
              {DatabaseFile::Launchers, LauncherRecord::Size, fieldNamed(launcherFields, "LauncherName"),
               "launcher"},
              findings);
    checkFile(
        indexes.set, indexes.threeD,
        {DatabaseFile::ThreeDObjects, ThreeDRecord::Size, fieldNamed(threeDFields, "Name"), "3D object"},
        findings);
}

} // namespace keel
