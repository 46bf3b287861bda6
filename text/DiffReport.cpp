// SPDX-License-Identifier: MIT
#include "text/DiffReport.h"

#include "common/FieldText.h"
#include "common/Utf8.h"

#include <cstdio>

namespace keel {
namespace {

using Json = nlohmann::ordered_json;

std::string quotedOnOneLine(std::string_view utf8) {
    std::string out = "\"";
    for (char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned>(byte));
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// The text of one of the step's record's naming fields.
std::string namingText(const RecordStep& step, std::string_view fieldName) {
    return fieldValueText(*findField(step.level->fields, fieldName), step.named());
}

std::string_view changeId(Change change) {
    switch (change) {
    case Change::Field:
        return "field";
    case Change::OtherBytes:
        return "other-bytes";
    case Change::OnlyInA:
        return "only-in-a";
    case Change::OnlyInB:
        return "only-in-b";
    case Change::Moved:
        return "moved";
    case Change::StoredCount:
        return "stored-count";
    case Change::TrailingBytes:
        return "trailing-bytes";
    case Change::FileOnlyInA:
        return "file-only-in-a";
    case Change::FileOnlyInB:
        return "file-only-in-b";
    }
    return "unknown";
}

std::string numberText(const std::optional<std::int64_t>& number) {
    return number ? std::to_string(*number) : "none";
}

std::string fieldValue(const FieldInfo& field, const std::string& text) {
    return field.kind == FieldKind::Text ? quotedOnOneLine(text) : text;
}

Json orNull(const std::optional<std::int64_t>& number) {
    return number ? Json(*number) : Json(nullptr);
}

Json positionOrNull(std::size_t position) {
    return position != 0 ? Json(position) : Json(nullptr);
}

Json stepJson(const RecordStep& step) {
    const RecordLevel& level = *step.level;
    Json key = Json::object();
    if (!level.ownerField.empty()) {
        key[std::string(level.ownerField)] = namingText(step, level.ownerField);
    }
    key[std::string(level.keyField)] = namingText(step, level.keyField);
    return {{"level", level.word},
            {"key", std::move(key)},
            {"occurrence", step.byPosition ? Json(nullptr) : Json(step.occurrence)},
            {"a", positionOrNull(step.positionInA)},
            {"b", positionOrNull(step.positionInB)}};
}

} // namespace

std::string differenceLine(const Difference& difference) {
    std::string line(difference.file);
    if (difference.record.empty()) {
        line += ':';
    }
    for (std::size_t depth = 0; depth < difference.record.size(); ++depth) {
        const RecordStep& step = difference.record[depth];
        const RecordLevel& level = *step.level;
        const bool owned = !level.ownerField.empty();
        if (owned) {
            line += ' ' + quotedOnOneLine(namingText(step, level.ownerField));
        }
        if (depth > 0 || owned) {
            line += ' ' + std::string(level.word);
        }
        if (step.byPosition) {
            line +=
                ' ' + std::to_string(step.positionInA != 0 ? step.positionInA : step.positionInB);
        }
        line += ' ' + quotedOnOneLine(namingText(step, level.keyField));
        if (step.keyRepeats) {
            line += " #" + std::to_string(step.occurrence);
        }
    }
    switch (difference.change) {
    case Change::Field: {
        const FieldInfo& field = *difference.field;
        line += ' ' + std::string(field.name);
        if (difference.element) {
            line += '[' + std::to_string(*difference.element) + ']';
        }
        return line + ": " + fieldValue(field, difference.valueInA) + " -> " +
               fieldValue(field, difference.valueInB);
    }
    case Change::OtherBytes:
        return line + " other bytes differ";
    case Change::OnlyInA:
    case Change::FileOnlyInA:
        return line + " only in A";
    case Change::OnlyInB:
    case Change::FileOnlyInB:
        return line + " only in B";
    case Change::Moved:
        return line + " moved: " + numberText(difference.numberInA) + " -> " +
               numberText(difference.numberInB);
    case Change::StoredCount:
        return line + " stored count: " + numberText(difference.numberInA) + " -> " +
               numberText(difference.numberInB);
    case Change::TrailingBytes:
        return line + " bytes after the last whole record differ (" +
               numberText(difference.numberInA) + " in A, " + numberText(difference.numberInB) +
               " in B)";
    }
    return line;
}

void JsonDiffReport::add(const Difference& difference) {
    Json record = nullptr;
    if (!difference.record.empty()) {
        record = Json::array();
        for (const RecordStep& step : difference.record) {
            record.push_back(stepJson(step));
        }
    }
    const bool ofField = difference.change == Change::Field;
    const auto element = difference.element;
    differences_.push_back(
        {{"file", difference.file},
         {"change", changeId(difference.change)},
         {"record", std::move(record)},
         {"field", ofField ? Json(difference.field->name) : Json(nullptr)},
         {"element", element ? Json(*element) : Json(nullptr)},
         {"a", ofField ? Json(difference.valueInA) : orNull(difference.numberInA)},
         {"b", ofField ? Json(difference.valueInB) : orNull(difference.numberInB)},
         {"text", differenceLine(difference)}});
}

void JsonDiffReport::write(const std::filesystem::path& a, const std::filesystem::path& b,
                           std::ostream& out) {
    // Every text is UTF-8: those of the files decoded from their code page, the paths made
    // well-formed, so that the strict dump cannot meet a byte that is not.
    Json report = Json::object();
    report["program"] = "keeltext";
    report["a"] = wellFormedUtf8(a.string());
    report["b"] = wellFormedUtf8(b.string());
    report["equal"] = differences_.empty();
    report["differences"] = std::move(differences_);
    differences_ = Json::array();
    out << report.dump(2, ' ', false, Json::error_handler_t::strict) << '\n';
}

} // namespace keel
