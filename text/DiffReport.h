// SPDX-License-Identifier: MIT
#pragma once

#include "text/Diff.h"

#include <filesystem>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

namespace keel {

// A difference as one line for people, e.g.
//   objects.odb "Pike SSK" MaxSpeed: 18 -> 22
//   mission.db "Aldermark" class "Pike" platform "Perch" HullNum: 402 -> 404
//   launcher.ldb 3 "127mm Gun Mount" weap0: "Phantom Shell" -> "Shell 127mm"
// Texts are quoted, with '"' and '\' escaped and control characters written as \xNN, so that
// every difference stays on its line.
std::string differenceLine(const Difference& difference);

// The report for people: each difference's line as it is found.
class TextDiffReport : public DifferenceSink {
public:
    explicit TextDiffReport(std::ostream& out) : out_(out) {}
    void add(const Difference& difference) override { out_ << differenceLine(difference) << '\n'; }

private:
    std::ostream& out_;
};

// The report for tools: one JSON object, UTF-8, whose shape the manual page documents:
//   {"program", "a", "b", "equal", "differences": [...]}
class JsonDiffReport : public DifferenceSink {
public:
    void add(const Difference& difference) override;
    // Writes the report; the differences told go into it and are gone from here.
    void write(const std::filesystem::path& a, const std::filesystem::path& b, std::ostream& out);

private:
    nlohmann::ordered_json differences_ = nlohmann::ordered_json::array();
};

} // namespace keel
