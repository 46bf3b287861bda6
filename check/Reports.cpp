// SPDX-License-Identifier: MIT
#include "check/Reports.h"

#include "check/Version.h"
#include "common/Utf8.h"
#include "common/WindowsCodePage.h"

#include <cstdio>
#include <nlohmann/json.hpp>
#include <set>

namespace keel {
namespace {

std::string_view recordWord(DatabaseFile file) {
    switch (file) {
    case DatabaseFile::Objects:
        return "object";
    case DatabaseFile::Launchers:
        return "launcher";
    case DatabaseFile::ShipBasedAircraft:
        return "carrier";
    case DatabaseFile::Missions:
        return "nation";
    case DatabaseFile::ThreeDObjects:
        return "3D object";
    case DatabaseFile::Sensors:
        return "sensor";
    case DatabaseFile::Airstrips:
        return "airstrip";
    }
    return "record";
}

std::string hexEscape(unsigned char c, const char* format) {
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, format, static_cast<unsigned>(c));
    return escaped;
}

// UTF-8 with control characters written as \xNN, for one line of text.
std::string printable(std::string_view codePageText) {
    std::string out;
    for (char c : utf8FromCodePage(codePageText)) {
        const auto byte = static_cast<unsigned char>(c);
        out += byte < 0x20 || byte == 0x7F ? hexEscape(byte, "\\x%02X") : std::string(1, c);
    }
    return out;
}

// Paths are the system's, taken to be UTF-8 as they stand; only control characters are escaped.
std::string printablePath(const std::filesystem::path& path) {
    std::string out;
    for (char c : path.string()) {
        const auto byte = static_cast<unsigned char>(c);
        out += byte < 0x20 || byte == 0x7F ? hexEscape(byte, "\\x%02X") : std::string(1, c);
    }
    return out;
}

std::string_view stateName(CheckedSet::State state) {
    switch (state) {
    case CheckedSet::State::Read:
        return "read";
    case CheckedSet::State::Missing:
        return "missing";
    case CheckedSet::State::Unreadable:
        return "unreadable";
    }
    return "unknown";
}

std::string countedWords(std::size_t count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

} // namespace

std::string TextReport::line(const Finding& finding) {
    std::string text(fileName(finding.file));
    text += ": ";
    if (finding.record) {
        text += std::string(recordWord(finding.file)) + " " + std::to_string(*finding.record) +
                " " + printable(quotedText(finding.recordName));
        text += finding.field.empty() ? ": " : ", " + printable(finding.field) + ": ";
    }
    return text + printable(finding.problem);
}

void TextReport::write(const CheckedSet& set, const FindingList& findings, std::ostream& out) {
    for (FindingKind kind : allFindingKinds) {
        const std::size_t count = findings.count(kind);
        if (count == 0) {
            continue;
        }
        out << findingKindHeading(kind) << " (" << count << ")\n";
        for (const Finding& finding : findings.all()) {
            if (finding.kind == kind) {
                out << "  " << line(finding) << '\n';
            }
        }
        out << '\n';
    }
    out << "Checked \"" << printablePath(set.directory()) << "\"; ";
    if (findings.empty()) {
        out << "no findings.\n";
        return;
    }
    std::set<DatabaseFile> files;
    for (const Finding& finding : findings.all()) {
        files.insert(finding.file);
    }
    out << countedWords(findings.size(), "finding", "findings") << " in "
        << countedWords(files.size(), "file", "files") << ".\n";
}

void JsonReport::write(const CheckedSet& set, const FindingList& findings, std::ostream& out) {
    // Every text goes in as UTF-8: those of the files decoded from the code page, the directory
    // made well-formed, so that the strict dump below cannot meet a byte that is not UTF-8.
    using Json = nlohmann::ordered_json;
    const auto fromFile = [](std::string_view codePageText) {
        return utf8FromCodePage(codePageText);
    };
    const auto orNull = [](bool present, auto value) {
        return present ? Json(value) : Json(nullptr);
    };

    Json files = Json::array();
    for (DatabaseFile file : loadOrder) {
        const auto records = set.recordCount(file);
        files.push_back({{"file", fileName(file)},
                         {"state", stateName(set.file(file).state)},
                         {"records", orNull(records.has_value(), records.value_or(0))}});
    }
    Json found = Json::array();
    for (const Finding& finding : findings.all()) {
        const bool ofRecord = finding.record.has_value();
        found.push_back({{"kind", findingKindId(finding.kind)},
                         {"file", fileName(finding.file)},
                         {"record", orNull(ofRecord, finding.record.value_or(0))},
                         {"name", orNull(ofRecord, fromFile(finding.recordName))},
                         {"field", orNull(!finding.field.empty(), fromFile(finding.field))},
                         {"problem", fromFile(finding.problem)},
                         {"text", TextReport::line(finding)}});
    }
    Json kinds = Json::object();
    for (FindingKind kind : allFindingKinds) {
        kinds[std::string(findingKindId(kind))] = findings.count(kind);
    }
    const Json report = {{"program", "keelcheck"},
                         {"version", keelcheckVersion()},
                         {"directory", wellFormedUtf8(set.directory().string())},
                         {"files", std::move(files)},
                         {"findings", std::move(found)},
                         {"summary", {{"findings", findings.size()}, {"kinds", std::move(kinds)}}}};
    out << report.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::strict) << '\n';
}

} // namespace keel
