// SPDX-License-Identifier: MIT
#pragma once

#include "check/CheckedSet.h"
#include "check/Finding.h"

#include <ostream>
#include <string>

namespace keel {

// The report for people: the findings grouped by kind, in the order of FindingKind, a line
// each that names the file, the record and the field, then a summary line. Texts from the
// files are converted to UTF-8, and control characters in them are written as \xNN so that
// every finding stays on its line.
class TextReport {
public:
    static void write(const CheckedSet& set, const FindingList& findings, std::ostream& out);
    // The line of one finding, without its indentation.
    static std::string line(const Finding& finding);
};

// The report for tools: one JSON object, UTF-8, whose shape the manual page documents:
//   {"program", "version", "directory", "files": [...], "findings": [...], "summary": {...}}
class JsonReport {
public:
    static void write(const CheckedSet& set, const FindingList& findings, std::ostream& out);
};

} // namespace keel
