// SPDX-License-Identifier: MIT
#include "check/Reports.h"

#include "check/Version.h"
#include "common/Utf8.h"
#include "common/WindowsCodePage.h"

#include <cstdio>
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

// A JSON string of UTF-8 text.
std::string jsonUtf8String(std::string_view utf8) {
    std::string out = "\"";
    for (char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            out += hexEscape(byte, "\\u%04x");
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// A JSON string of a text from the files (or of our own ASCII).
std::string jsonString(std::string_view codePageText) {
    return jsonUtf8String(utf8FromCodePage(codePageText));
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
    out << "{\n  \"program\": \"keelcheck\",\n  \"version\": " << jsonString(keelcheckVersion())
        << ",\n  \"directory\": " << jsonUtf8String(wellFormedUtf8(set.directory().string()))
        << ",\n  \"files\": [";
    const char* separator = "\n";
    for (DatabaseFile file : loadOrder) {
        const CheckedSet::File& read = set.file(file);
        const auto records = set.recordCount(file);
        out << separator << "    {\"file\": " << jsonString(fileName(file))
            << ", \"state\": " << jsonString(stateName(read.state))
            << ", \"records\": " << (records ? std::to_string(*records) : "null") << "}";
        separator = ",\n";
    }
    out << "\n  ],\n  \"findings\": [";
    separator = "\n";
    for (const Finding& finding : findings.all()) {
        out << separator << "    {\"kind\": " << jsonString(findingKindId(finding.kind))
            << ", \"file\": " << jsonString(fileName(finding.file))
            << ", \"record\": " << (finding.record ? std::to_string(*finding.record) : "null")
            << ", \"name\": " << (finding.record ? jsonString(finding.recordName) : "null")
            << ", \"field\": " << (finding.field.empty() ? "null" : jsonString(finding.field))
            << ", \"problem\": " << jsonString(finding.problem)
            << ", \"text\": " << jsonUtf8String(TextReport::line(finding)) << "}";
        separator = ",\n";
    }
    out << (findings.empty() ? "]" : "\n  ]")
        << ",\n  \"summary\": {\"findings\": " << findings.size() << ", \"kinds\": {";
    separator = "";
    for (FindingKind kind : allFindingKinds) {
        out << separator << jsonString(findingKindId(kind)) << ": " << findings.count(kind);
        separator = ", ";
    }
    out << "}}\n}\n";
}

} // namespace keel
