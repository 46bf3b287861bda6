// SPDX-License-Identifier: MIT
#include "check/SetIndexes.h"

#include "launchers/LauncherRecord.h"
#include "threed/ThreeDRecord.h"

namespace keel {

SetIndexes::SetIndexes(const CheckedSet& set_)
    : set(set_), objects(set_.bytes(DatabaseFile::Objects)),
      launchers(set_.bytes(DatabaseFile::Launchers), LauncherRecord::Size,
                LauncherRecord::LauncherName),
      threeD(set_.bytes(DatabaseFile::ThreeDObjects), ThreeDRecord::Size, ThreeDRecord::Name) {}

} // namespace keel
