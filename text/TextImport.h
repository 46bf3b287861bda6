// SPDX-License-Identifier: MIT
#pragma once

#include "common/Bytes.h"
#include "text/LosslessFile.h"

#include <string>
#include <vector>

namespace keel {

// What reading a text form found wrong, one line each, each naming where: "objects.csv:17:
// MaxSpeed: \"40000\" is out of range -32768..32767". Only the first problems are kept; a
// text with many wrong rows is mostly wrong the same way.
class ImportProblems {
public:
    static constexpr std::size_t listed = 10;

    void add(std::string line) {
        if (lines_.size() < listed) {
            lines_.push_back(std::move(line));
        }
    }
    bool any() const { return !lines_.empty(); }
    bool full() const { return lines_.size() >= listed; }
    // Once full, reading stops: there may be more.
    const std::vector<std::string>& lines() const { return lines_; }

private:
    std::vector<std::string> lines_;
};

// What the text of a file is read against.
struct ImportSource {
    RecordKind kind;
    std::string name;                  // of the text, for the problems: "objects.csv"
    const LosslessFile* base = nullptr; // --base: where a record without its rest takes it from
};

// The file a text gives, or the problems that keep it from giving one.
struct ImportResult {
    LosslessFile file;
    ImportProblems problems;

    bool ok() const { return !problems.any(); }
};

} // namespace keel
