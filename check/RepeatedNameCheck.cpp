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
    TextFieldSpec nameField;
    std::string_view fieldName;
    std::string_view recordWord;
};

void checkFile(const CheckedSet& set, const NameIndex& names, const NamedFile& named,
               FindingList& findings) {
    if (!set.has(named.file)) {
        return;
    }
    const ConstByteSpan file = set.bytes(named.file);
    const auto nameOf = [&](std::size_t index) {
        return named.nameField.read(file.subspan(index * named.recordSize, named.recordSize));
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
                      std::string(named.fieldName), problem});
    }
}

} // namespace

void RepeatedNameCheck::run(const SetIndexes& indexes, FindingList& findings) const {
    checkFile(indexes.set, indexes.objects.names(),
              {DatabaseFile::Objects, ObjectRecord::Size, ObjectRecord::ObjectName, "ObjectName",
               "object"},
              findings);
    checkFile(indexes.set, indexes.launchers,
              {DatabaseFile::Launchers, LauncherRecord::Size, LauncherRecord::LauncherName,
               "LauncherName", "launcher"},
              findings);
    checkFile(
        indexes.set, indexes.threeD,
        {DatabaseFile::ThreeDObjects, ThreeDRecord::Size, ThreeDRecord::Name, "Name", "3D object"},
        findings);
}

} // namespace keel
