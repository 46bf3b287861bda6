// SPDX-License-Identifier: MIT
#pragma once

#include "text/LosslessFile.h"
#include "text/TextImport.h"
#include "text/TextOutput.h"

#include <string>
#include <string_view>

namespace keel {

// The CSV form of a fixed-record file: a header row of value names (an array field's elements
// as "LauncherSlots[1]" and on), then a row per record in file order, then, unless readable,
// a last column "_rest" with the record's rest in hexadecimal (see RecordValues.h). The bytes
// of an incomplete last record make one more row, of empty values and a rest of
// "trailing:" and their hexadecimal.
// The text goes to `sink` in pieces; false when the sink refused one.
bool writeCsvText(const LosslessFile& file, bool readable, const TextSink& sink);
std::string csvTextOf(const LosslessFile& file, bool readable);

// The file of a CSV text. Its columns may come in any order; every value column is needed, and
// "_rest" may be left out, when a record takes the bytes no value covers from the record of the
// same number in the base file, or else zeros.
ImportResult fileOfCsvText(std::string_view text, const ImportSource& source);

} // namespace keel
