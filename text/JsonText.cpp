// SPDX-License-Identifier: MIT
#include "text/JsonText.h"

#include "common/FieldText.h"
#include "text/RecordValues.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace keel {
namespace {

// Members in the order they are written, and floats of single precision, so that a float's
// shortest form is that of the float and not of a double.
using Json = nlohmann::basic_json<nlohmann::ordered_map, std::vector, std::string, bool, std::int64_t, std::uint64_t,
                                  float>;

constexpr std::string_view restMember = "_rest";
constexpr std::string_view trailingMember = "_trailing";
constexpr std::string_view countMember = "_count";

// ---- Writing ----

// A text as a JSON string. The library escapes what needs it; a text without a quote, a
// backslash or a control character needs nothing, and most texts are such.
void appendString(std::string_view text, std::string& out) {
    const bool plain = std::none_of(text.begin(), text.end(),
                                    [](char c) { return c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20; });
    if (!plain) {
        out += Json(std::string(text)).dump();
        return;
    }
    out += '"';
    out += text;
    out += '"';
}

// A value as JSON: whole numbers and finite floats as numbers (the shortest form of a float is
// a JSON number), other floats and texts as strings. A float without a point or an exponent
// is given ".0", so that it reads as one: "-0" would read as the whole number 0.
void appendValue(const FieldInfo& field, ConstByteSpan record, std::size_t index, std::string& scratch,
                 std::string& out) {
    if (field.isWholeNumber()) {
        appendFieldValueText(field, record, index, out);
        return;
    }
    if (field.kind == FieldKind::Float &&
        std::isfinite(loadLittleEndian<float>(record.subspan(field.elementOffset(index), 4)))) {
        const std::size_t start = out.size();
        appendFieldValueText(field, record, index, out);
        if (out.find_first_of(".e", start) == std::string::npos) {
            out += ".0";
        }
        return;
    }
    scratch.clear();
    appendFieldValueText(field, record, index, scratch);
    appendString(scratch, out);
}

// Writes records an object each, a member a line, an array of values on one line: a changed
// value is a changed line.
class JsonWriter {
public:
    JsonWriter(bool readable, std::string& out) : readable_(readable), out_(out) {}

    void record(std::span<const RecordLevel> levels, const StoredRecord& record, std::size_t indent) {
        const RecordLevel& level = levels.front();
        out_ += "{";
        indent += 2;
        bool first = true;
        for (const FieldInfo& field : level.fields) {
            if (!level.isValue(field)) {
                continue;
            }
            member(field.name, indent, first);
            if (field.isArray()) {
                out_ += '[';
                for (std::size_t i = 0; i < field.count; ++i) {
                    out_ += i == 0 ? "" : ", ";
                    appendValue(field, record.bytes, i, scratch_, out_);
                }
                out_ += ']';
            } else {
                appendValue(field, record.bytes, 0, scratch_, out_);
            }
        }
        if (!readable_) {
            member(restMember, indent, first);
            restInto(level, record.bytes, rest_);
            out_ += '"';
            appendHex(rest_, out_);
            out_ += '"';
        }
        if (level.hasChildren()) {
            member(level.childrenMember, indent, first);
            out_ += '[';
            for (std::size_t i = 0; i < record.children.size(); ++i) {
                out_ += i == 0 ? "\n" : ",\n";
                out_.append(indent + 2, ' ');
                this->record(levels.subspan(1), record.children[i], indent + 2);
            }
            if (!record.children.empty()) {
                out_ += '\n';
                out_.append(indent, ' ');
            }
            out_ += ']';
        }
        close(indent - 2);
    }

    // What a file holds beyond its records.
    void tail(const LosslessFile& file, bool counted, std::size_t indent) {
        out_ += "{";
        bool first = true;
        member(trailingMember, indent + 2, first);
        out_ += '"';
        appendHex(file.trailing, out_);
        out_ += '"';
        if (counted && (!file.hasCount || file.storedCount)) {
            member(countMember, indent + 2, first);
            out_ += file.hasCount ? std::to_string(*file.storedCount) : "null";
        }
        close(indent);
    }

private:
    void member(std::string_view name, std::size_t indent, bool& first) {
        out_ += first ? "\n" : ",\n";
        first = false;
        out_.append(indent, ' ');
        appendString(name, out_);
        out_ += ": ";
    }

    void close(std::size_t indent) {
        out_ += '\n';
        out_.append(indent, ' ');
        out_ += '}';
    }

    bool readable_;
    std::string& out_;
    std::string scratch_;
    ByteVector rest_;
};

// ---- Reading ----

// Thrown to stop the parser: the text's shape leaves nothing more to read.
struct StopReading {};

std::string describe(const Json& value) {
    switch (value.type()) {
    case Json::value_t::object:
        return "an object";
    case Json::value_t::array:
        return "an array";
    default:
        return value.dump();
    }
}

std::string floatText(float number) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    return std::string(buffer, result.ptr);
}

class JsonReader {
public:
    JsonReader(const ImportSource& source, ImportResult& result)
        : source_(source), kind_(recordKind(source.kind)), result_(result) {
        result_.file.kind = source.kind;
    }

    void read(std::string_view text) {
        try {
            // Every record is taken when it ends and then dropped, so that the whole text is
            // never held as JSON values.
            const Json nothingKept = Json::parse(
                text.begin(), text.end(),
                [this](int depth, Json::parse_event_t event, Json& parsed) { return onEvent(depth, event, parsed); });
        } catch (const StopReading&) {
        } catch (const Json::parse_error& error) {
            result_.problems.add(source_.name + ":" + lineOf(text, error.byte) + ": malformed JSON: " +
                                 reason(error.what()));
        } catch (const Json::exception& error) { // a number beyond every number type
            const std::string_view what = error.what();
            result_.problems.add(source_.name + ": " + std::string(what.substr(what.find(']') + 2)));
        }
        if (!result_.problems.any() && !arrayBegun_) {
            result_.problems.add(source_.name + ": the text is no JSON array of " + std::string(kind_.top().word) +
                                 " records");
        }
        LosslessFile& file = result_.file;
        if (file.storedCount && static_cast<std::size_t>(*file.storedCount) == file.records.size()) {
            file.storedCount.reset();
        }
    }

private:
    bool onEvent(int depth, Json::parse_event_t event, Json& parsed) {
        using Event = Json::parse_event_t;
        if (depth == 0) {
            if (event == Event::array_start) {
                arrayBegun_ = true;
                return true;
            }
            if (event == Event::object_start || event == Event::value) {
                throw StopReading{};
            }
            return true;
        }
        noteRepeatedMembers(depth, event, parsed);
        if (depth != 1) {
            return true;
        }
        if (event == Event::object_start || event == Event::array_start) {
            return true;
        }
        if (event == Event::object_end || event == Event::array_end || event == Event::value) {
            takeElement(parsed);
            repeated_.clear();
            if (result_.problems.full()) {
                throw StopReading{};
            }
            return false; // nothing is kept but what was taken
        }
        return true;
    }

    // A JSON object keeps the last of several members of one name; the others would be lost
    // without a word. The names of each open object are kept to find them.
    void noteRepeatedMembers(int depth, Json::parse_event_t event, const Json& parsed) {
        using Event = Json::parse_event_t;
        const auto at = static_cast<std::size_t>(depth);
        if (event == Event::object_start) {
            names_.resize(std::max(names_.size(), at + 1));
            names_[at].clear();
        } else if (event == Event::key && at > 0) {
            names_[at - 1].push_back(parsed.get<std::string>());
        } else if (event == Event::object_end && names_[at].size() != parsed.size()) {
            std::vector<std::string>& names = names_[at];
            std::sort(names.begin(), names.end());
            repeated_.push_back(*std::adjacent_find(names.begin(), names.end()));
        }
    }

    void takeElement(const Json& element) {
        ++elements_;
        const std::string place = std::string(kind_.top().word) + " " + std::to_string(elements_);
        for (const std::string& name : repeated_) {
            problem(place, "the member \"" + name + "\" is given twice");
        }
        if (trailingRead_) {
            problem(place, "follows the object of trailing bytes, which must be the last");
            return;
        }
        if (!element.is_object()) {
            problem(place, "is " + describe(element) + ", not an object");
            return;
        }
        if (element.contains(trailingMember) || element.contains(countMember)) {
            takeTrailing(element, place);
            return;
        }
        const std::size_t number = result_.file.records.size();
        const StoredRecord* base = source_.base != nullptr && number < source_.base->records.size()
                                       ? &source_.base->records[number]
                                       : nullptr;
        StoredRecord record;
        if (makeRecord(kind_.levels, element, place, base, record)) {
            result_.file.records.push_back(std::move(record));
        }
    }

    // The members of one record, found in one pass over them.
    struct Members {
        std::vector<const Json*> fields; // by the field's place in its table
        const Json* rest = nullptr;
        const Json* children = nullptr;
    };

    Members membersOf(const RecordLevel& level, const Json& object, const std::string& place, bool& sound) {
        Members members;
        members.fields.assign(level.fields.size(), nullptr);
        for (const auto& [name, value] : object.get_ref<const Json::object_t&>()) {
            const FieldInfo* field = findField(level.fields, name);
            if (field != nullptr && level.isValue(*field)) {
                members.fields[static_cast<std::size_t>(field - level.fields.data())] = &value;
            } else if (name == restMember) {
                members.rest = &value;
            } else if (level.hasChildren() && name == level.childrenMember) {
                members.children = &value;
            } else {
                problem(place, "unknown member \"" + name + "\" of a " + std::string(level.word));
                sound = false;
            }
        }
        return members;
    }

    bool makeRecord(std::span<const RecordLevel> levels, const Json& object, const std::string& place,
                    const StoredRecord* base, StoredRecord& record) {
        const RecordLevel& level = levels.front();
        if (!object.is_object()) {
            problem(place, "is " + describe(object) + ", not an object");
            return false;
        }
        bool sound = true;
        const Members members = membersOf(level, object, place, sound);
        std::optional<ByteVector> rest;
        if (members.rest != nullptr) {
            rest = restBytes(*members.rest, level, place);
            sound = sound && rest.has_value();
        }
        RecordMaker maker(level, rest ? &*rest : nullptr, base != nullptr ? ConstByteSpan(base->bytes) : ConstByteSpan{});
        for (std::size_t i = 0; i < level.fields.size(); ++i) {
            const FieldInfo& field = level.fields[i];
            if (!level.isValue(field)) {
                continue;
            }
            if (members.fields[i] == nullptr) {
                problem(place, "the member \"" + std::string(field.name) + "\" is missing");
                sound = false;
                continue;
            }
            sound = storeField(maker, field, *members.fields[i], place) && sound;
        }
        if (level.hasChildren()) {
            sound = makeChildren(levels, members.children, place, base, record) && sound;
        }
        record.bytes = maker.take();
        return sound;
    }

    bool makeChildren(std::span<const RecordLevel> levels, const Json* children, const std::string& place,
                      const StoredRecord* base, StoredRecord& record) {
        const std::string member(levels.front().childrenMember);
        if (children == nullptr || !children->is_array()) {
            problem(place, children == nullptr ? "the member \"" + member + "\" is missing"
                                               : member + ": an array is needed, not " + describe(*children));
            return false;
        }
        bool sound = true;
        record.children.resize(children->size());
        for (std::size_t i = 0; i < children->size(); ++i) {
            const StoredRecord* baseChild =
                base != nullptr && i < base->children.size() ? &base->children[i] : nullptr;
            const std::string childPlace = place + ", " + std::string(levels[1].word) + " " + std::to_string(i + 1);
            sound = makeRecord(levels.subspan(1), (*children)[i], childPlace, baseChild, record.children[i]) && sound;
            if (result_.problems.full()) {
                return false;
            }
        }
        return sound;
    }

    bool storeField(RecordMaker& maker, const FieldInfo& field, const Json& value, const std::string& place) {
        const std::string name(field.name);
        if (!field.isArray()) {
            return storeElement(maker, field, 0, value, place, name);
        }
        if (!value.is_array() || value.size() != field.count) {
            problem(place, name + ": an array of " + std::to_string(field.count) + " values is needed, not " +
                               (value.is_array() ? "one of " + std::to_string(value.size()) : describe(value)));
            return false;
        }
        bool sound = true;
        for (std::size_t i = 0; i < field.count; ++i) {
            sound = storeElement(maker, field, i, value[i], place, name + "[" + std::to_string(i + 1) + "]") && sound;
        }
        return sound;
    }

    bool storeElement(RecordMaker& maker, const FieldInfo& field, std::size_t index, const Json& value,
                      const std::string& place, const std::string& name) {
        std::string text;
        if (value.is_string()) {
            text = value.get<std::string>();
        } else if (field.kind == FieldKind::Text || !value.is_number()) {
            problem(place, name + ": " + (field.kind == FieldKind::Text ? "a text" : "a number") + " is needed, not " +
                               describe(value));
            return false;
        } else if (value.is_number_float()) {
            const auto number = value.get<float>();
            if (!std::isfinite(number)) {
                problem(place, name + ": the number is out of range for a float");
                return false;
            }
            text = floatText(number);
        } else {
            char digits[24];
            const auto end = value.is_number_unsigned()
                                 ? std::to_chars(digits, digits + sizeof digits, value.get<std::uint64_t>()).ptr
                                 : std::to_chars(digits, digits + sizeof digits, value.get<std::int64_t>()).ptr;
            text.assign(digits, end);
        }
        if (const auto wrong = maker.store(field, index, text)) {
            problem(place, name + ": " + *wrong);
            return false;
        }
        return true;
    }

    std::optional<ByteVector> restBytes(const Json& value, const RecordLevel& level, const std::string& place) {
        if (!value.is_string()) {
            problem(place, std::string(restMember) + ": a hexadecimal text is needed, not " + describe(value));
            return std::nullopt;
        }
        auto bytes = bytesOfHex(value.get<std::string>());
        if (const auto* wrong = std::get_if<std::string>(&bytes)) {
            problem(place, std::string(restMember) + ": " + *wrong);
            return std::nullopt;
        }
        auto& rest = std::get<ByteVector>(bytes);
        if (rest.size() > level.size) {
            problem(place, std::string(restMember) + ": " + std::to_string(rest.size()) + " bytes, more than the " +
                               std::to_string(level.size) + " of a " + std::string(level.word));
            return std::nullopt;
        }
        return std::move(rest);
    }

    void takeTrailing(const Json& element, const std::string& place) {
        trailingRead_ = true;
        const std::string where = "the object of trailing bytes (" + place + ")";
        for (const auto& [name, value] : element.items()) {
            if (name != trailingMember && !(name == countMember && kind_.counted)) {
                problem(where, "unknown member \"" + name + "\"");
            }
        }
        LosslessFile& file = result_.file;
        if (const auto count = element.find(countMember); count != element.end() && kind_.counted) {
            if (count->is_null()) {
                file.hasCount = false;
                if (elements_ > 1) {
                    problem(where, std::string(countMember) + ": a file without its count holds no records");
                }
            } else if (count->is_number_integer() && count->get<std::int64_t>() >= std::numeric_limits<std::int32_t>::min() &&
                       count->get<std::int64_t>() <= std::numeric_limits<std::int32_t>::max()) {
                file.storedCount = static_cast<std::int32_t>(count->get<std::int64_t>());
            } else {
                problem(where, std::string(countMember) + ": a count of -2147483648..2147483647 or null is needed, not " +
                                   describe(*count));
            }
        }
        const auto trailing = element.find(trailingMember);
        if (trailing == element.end() || !trailing->is_string()) {
            problem(where, std::string(trailingMember) + ": a hexadecimal text is needed" +
                               (trailing == element.end() ? std::string() : ", not " + describe(*trailing)));
            return;
        }
        auto bytes = bytesOfHex(trailing->get<std::string>());
        if (const auto* wrong = std::get_if<std::string>(&bytes)) {
            problem(where, std::string(trailingMember) + ": " + *wrong);
            return;
        }
        file.trailing = std::move(std::get<ByteVector>(bytes));
        if (!kind_.counted && file.trailing.size() >= kind_.recordSize()) {
            problem(where, std::string(trailingMember) + ": trailing bytes are fewer than the " +
                               std::to_string(kind_.recordSize()) + " of a record, not " +
                               std::to_string(file.trailing.size()));
        }
        if (!file.hasCount && file.trailing.size() >= 4) {
            problem(where, std::string(trailingMember) + ": a file without its count holds fewer than 4 bytes");
        }
    }

    void problem(const std::string& place, const std::string& message) {
        result_.problems.add(source_.name + ": " + place + ": " + message);
    }

    static std::string lineOf(std::string_view text, std::size_t byte) {
        const std::size_t end = std::min(byte, text.size());
        return std::to_string(1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(end), '\n'));
    }

    // The parser's own words, without the exception's name and the place it gives otherwise.
    static std::string reason(std::string_view what) {
        const std::size_t column = what.find("column ");
        const std::size_t colon = what.find(": ", column == std::string_view::npos ? 0 : column);
        return std::string(colon == std::string_view::npos ? what : what.substr(colon + 2));
    }

    const ImportSource& source_;
    const RecordKindInfo& kind_;
    ImportResult& result_;
    std::size_t elements_ = 0;
    std::vector<std::vector<std::string>> names_; // of the open objects, by their depth
    std::vector<std::string> repeated_;           // in the element being read
    bool arrayBegun_ = false;
    bool trailingRead_ = false;
};

} // namespace

bool writeJsonText(const LosslessFile& file, bool readable, const TextSink& sink) {
    const RecordKindInfo& kind = recordKind(file.kind);
    TextPieces pieces(sink);
    std::string& out = pieces.text();
    out += '[';
    JsonWriter writer(readable, out);
    bool first = true;
    const auto element = [&] {
        out += first ? "\n  " : ",\n  ";
        first = false;
    };
    for (const StoredRecord& record : file.records) {
        element();
        writer.record(kind.levels, record, 2);
        if (!pieces.flushFull()) {
            return false;
        }
    }
    const bool countDiffers = kind.counted && (!file.hasCount || file.storedCount);
    if (!readable && (!file.trailing.empty() || countDiffers)) {
        element();
        writer.tail(file, kind.counted, 2);
    }
    out += first ? "]\n" : "\n]\n";
    return pieces.flush();
}

std::string jsonTextOf(const LosslessFile& file, bool readable) {
    return wholeText([&](const TextSink& sink) { return writeJsonText(file, readable, sink); });
}

ImportResult fileOfJsonText(std::string_view text, const ImportSource& source) {
    ImportResult result;
    JsonReader(source, result).read(text);
    return result;
}

} // namespace keel
