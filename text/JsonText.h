// SPDX-License-Identifier: MIT
#pragma once

#include "text/LosslessFile.h"
#include "text/TextImport.h"
#include "text/TextOutput.h"

#include <string>
#include <string_view>

namespace keel {

// The JSON form of a file of any kind: an array with an object per record, in file order, its
// values as members in field order (an array field as an array), whole numbers as numbers,
// finite floats as numbers, other floats and texts as strings. Unless readable, each record
// has a member "_rest" with its rest in hexadecimal (see RecordValues.h).
//
// A nation has a member "classes" with its classes, a class "platforms", a carrier
// "aircraftTypes": the counts of nested records follow from these arrays.
//
// What a file holds beyond its records ends the array, unless readable, as one more object:
// {"_trailing": "<hexadecimal>"} with the bytes after the last whole record, and, of a
// counted file whose count is not the number of its records, "_count" with the count it
// stores, or null where the file is too short to hold one.
// The text goes to `sink` in pieces; false when the sink refused one.
bool writeJsonText(const LosslessFile& file, bool readable, const TextSink& sink);
std::string jsonTextOf(const LosslessFile& file, bool readable);

// The file of a JSON text. Every value member is needed; "_rest" may be left out, when a record
// takes the bytes no value covers from the record of the same place in the base file, or else
// zeros. Problems name the record's place: "nation 3, class 2, platform 1: HullNum: ...".
ImportResult fileOfJsonText(std::string_view text, const ImportSource& source);

} // namespace keel
