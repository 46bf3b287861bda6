// SPDX-License-Identifier: MIT
#include "check/AmmunitionCheck.h"

#include "launchers/LauncherRecord.h"
#include "objects/ObjectTypes.h"

namespace keel {
namespace {

constexpr std::array<std::string_view, 4> ammunitionFields{"weap0", "weap1", "weap2", "weap3"};

std::uint16_t ammunitionTypes() {
    std::uint16_t types = 0;
    for (int code = static_cast<int>(ObjectType::Mine);
         code <= static_cast<int>(ObjectType::Bullet); ++code) {
        types |= ObjectIndex::typeBit(code);
    }
    return types;
}

} // namespace

void AmmunitionCheck::run(const SetIndexes& indexes, FindingList& findings) const {
    const CheckedSet& set = indexes.set;
    if (!set.has(DatabaseFile::Launchers) || !set.has(DatabaseFile::Objects)) {
        return;
    }
    const std::uint16_t ammunition = ammunitionTypes();
    const ConstByteSpan launchers = set.bytes(DatabaseFile::Launchers);
    for (std::size_t i = 0; i < LauncherFile::count(launchers); ++i) {
        const ConstByteSpan launcher = LauncherFile::record(launchers, i);
        for (std::size_t k = 0; k < LauncherRecord::ammunitionTypes.size(); ++k) {
            const std::string text = LauncherRecord::ammunitionTypes[k].read(launcher);
            if (text.empty()) {
                continue;
            }
            const std::uint16_t types = indexes.objects.typesNamed(text);
            if ((types & ammunition) != 0) {
                continue;
            }
            std::string problem = quotedText(text);
            problem += types == 0 ? " names no object"
                                  : " names " + ObjectIndex::describeTypes(types) +
                                        ", not a mine, weapon, missile, shell or bullet";
            findings.add({FindingKind::UnknownAmmunition, DatabaseFile::Launchers, i + 1,
                          LauncherRecord::LauncherName.read(launcher),
                          std::string(ammunitionFields[k]), problem});
        }
    }
}

} // namespace keel
