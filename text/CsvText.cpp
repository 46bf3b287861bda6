// SPDX-License-Identifier: MIT
#include "text/CsvText.h"

#include "common/FieldText.h"
#include "text/RecordValues.h"

#include <csv.h>

#include <algorithm>
#include <unordered_map>

namespace keel {
namespace {

constexpr std::string_view restColumn = "_rest";
constexpr std::string_view trailingMark = "trailing:";

bool needsQuotes(std::string_view cell) {
    if (!cell.empty() && (cell.front() == ' ' || cell.back() == ' ' || cell.front() == '\t' || cell.back() == '\t')) {
        return true;
    }
    return std::any_of(cell.begin(), cell.end(), [](char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; });
}

void appendCell(std::string& out, std::string_view cell) {
    if (!needsQuotes(cell)) {
        out += cell;
        return;
    }
    const std::size_t at = out.size();
    out.resize(at + 2 * cell.size() + 2);
    const std::size_t written = csv_write(out.data() + at, out.size() - at, cell.data(), cell.size());
    out.resize(at + written);
}

// Where a column's cells go.
struct ColumnUse {
    const ValueColumn* value = nullptr; // else the rest
};

class CsvReader {
public:
    CsvReader(const ImportSource& source, ImportResult& result)
        : source_(source), level_(recordKind(source.kind).top()), columns_(valueColumns(level_)), result_(result) {
        result_.file.kind = source.kind;
    }

    void read(std::string_view text) {
        if (text.starts_with("\xEF\xBB\xBF")) { // the byte order mark some spreadsheets write
            text.remove_prefix(3);
        }
        csv_parser parser{};
        csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI);
        csv_set_space_func(&parser, [](unsigned char) { return 0; }); // a cell is what it holds
        std::size_t line = 1;
        bool malformed = false;
        while (!text.empty() && !stopped()) {
            const std::size_t end = lineEnd(text);
            if (!rowOpen_ && text.substr(0, end).find_first_not_of("\r\n") != std::string_view::npos) {
                rowLine_ = line;
                rowOpen_ = true;
            }
            if (csv_parse(&parser, text.data(), end, onCell, onRowEnd, this) != end) {
                problem(line, "malformed CSV: a quote out of place (a quoted cell ends with its quote, and a quote "
                              "within it is doubled)");
                malformed = true;
                break;
            }
            text.remove_prefix(end);
            ++line;
        }
        if (!malformed && !stopped() && csv_fini(&parser, onCell, onRowEnd, this) != 0) {
            problem(rowLine_, "malformed CSV: a quoted cell is not closed");
        }
        csv_free(&parser);
        if (!headerRead_ && !result_.problems.any()) {
            result_.problems.add(source_.name + ": the text holds no header row of field names");
        }
    }

private:
    // The length of the first line with its end: "\n", "\r\n" or a lone "\r".
    static std::size_t lineEnd(std::string_view text) {
        const auto end = std::find_if(text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; });
        if (end == text.end()) {
            return text.size();
        }
        const auto at = static_cast<std::size_t>(end - text.begin());
        return at + (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n' ? 2 : 1);
    }

    static void onCell(void* data, std::size_t size, void* self) {
        auto& reader = *static_cast<CsvReader*>(self);
        if (reader.cellCount_ == reader.cells_.size()) {
            reader.cells_.emplace_back();
        }
        reader.cells_[reader.cellCount_++].assign(static_cast<const char*>(data), size);
    }

    static void onRowEnd(int, void* self) {
        auto& reader = *static_cast<CsvReader*>(self);
        if (!reader.stopped()) {
            reader.headerRead_ ? reader.takeRow() : reader.takeHeader();
        }
        reader.cellCount_ = 0;
        reader.rowOpen_ = false;
    }

    bool stopped() const { return headerFailed_ || result_.problems.full(); }

    void problem(std::size_t line, const std::string& message) {
        result_.problems.add(source_.name + ":" + std::to_string(line) + ": " + message);
    }

    void takeHeader() {
        headerRead_ = true;
        std::unordered_map<std::string_view, const ValueColumn*> byName;
        for (const ValueColumn& column : columns_) {
            byName.emplace(column.name, &column);
        }
        std::unordered_map<std::string_view, bool> seen;
        uses_.clear();
        for (std::size_t i = 0; i < cellCount_; ++i) {
            const std::string_view name = cells_[i];
            if (seen[name]) {
                problem(rowLine_, "the column \"" + std::string(name) + "\" is given twice");
                continue;
            }
            seen[name] = true;
            if (name == restColumn) {
                restAt_ = i;
                uses_.push_back({});
            } else if (const auto found = byName.find(name); found != byName.end()) {
                uses_.push_back({found->second});
            } else {
                problem(rowLine_, "unknown column \"" + std::string(name) + "\" for " +
                                      std::string(recordKind(source_.kind).name));
            }
        }
        for (const ValueColumn& column : columns_) {
            if (!seen[column.name]) {
                problem(rowLine_, "the column \"" + column.name + "\" is missing");
            }
        }
        headerFailed_ = result_.problems.any();
    }

    void takeRow() {
        if (cellCount_ != uses_.size()) {
            problem(rowLine_, "the row has " + std::to_string(cellCount_) + " cells, the header " +
                                  std::to_string(uses_.size()));
            return;
        }
        if (trailingRead_) {
            problem(rowLine_, "a row follows the row of trailing bytes, which must be the last");
            return;
        }
        const std::size_t number = result_.file.records.size();
        const RestCell rest = readRest();
        if (rest.trailing) {
            takeTrailing(*rest.bytes);
            return;
        }
        if (restAt_ && !rest.bytes) {
            return; // its problem was told
        }
        ConstByteSpan base;
        if (!restAt_ && source_.base != nullptr && number < source_.base->records.size()) {
            base = source_.base->records[number].bytes;
        }
        RecordMaker maker(level_, rest.bytes ? &*rest.bytes : nullptr, base);
        bool sound = true;
        for (std::size_t i = 0; i < cellCount_; ++i) {
            if (const ValueColumn* column = uses_[i].value) {
                if (const auto wrong = maker.store(*column->field, column->index, cells_[i])) {
                    problem(rowLine_, column->name + ": " + *wrong);
                    sound = false;
                }
            }
        }
        if (sound) {
            result_.file.records.push_back({maker.take(), {}});
        }
    }

    struct RestCell {
        std::optional<ByteVector> bytes;
        bool trailing = false;
    };

    RestCell readRest() {
        if (!restAt_) {
            return {};
        }
        std::string_view cell = cells_[*restAt_];
        const bool trailing = cell.starts_with(trailingMark);
        if (trailing) {
            cell.remove_prefix(trailingMark.size());
        }
        auto bytes = bytesOfHex(cell);
        if (const auto* wrong = std::get_if<std::string>(&bytes)) {
            problem(rowLine_, std::string(restColumn) + ": " + *wrong);
            return {};
        }
        auto& rest = std::get<ByteVector>(bytes);
        if (!trailing && rest.size() > level_.size) {
            problem(rowLine_, std::string(restColumn) + ": " + std::to_string(rest.size()) +
                                  " bytes, more than the " + std::to_string(level_.size) + " of a record");
            return {};
        }
        return {std::move(rest), trailing};
    }

    void takeTrailing(const ByteVector& bytes) {
        trailingRead_ = true;
        for (std::size_t i = 0; i < cellCount_; ++i) {
            if (uses_[i].value != nullptr && !cells_[i].empty()) {
                problem(rowLine_, "the row of trailing bytes holds a value in \"" + uses_[i].value->name + "\"");
                return;
            }
        }
        if (bytes.empty() || bytes.size() >= level_.size) {
            problem(rowLine_, std::string(restColumn) + ": trailing bytes are 1 to " + std::to_string(level_.size - 1) +
                                  " bytes of an incomplete record, not " + std::to_string(bytes.size()));
            return;
        }
        result_.file.trailing = bytes;
    }

    const ImportSource& source_;
    const RecordLevel& level_;
    const std::vector<ValueColumn> columns_;
    ImportResult& result_;

    std::vector<std::string> cells_;
    std::size_t cellCount_ = 0;
    std::size_t rowLine_ = 1;
    bool rowOpen_ = false;
    bool headerRead_ = false;
    bool headerFailed_ = false;
    bool trailingRead_ = false;
    std::vector<ColumnUse> uses_;
    std::optional<std::size_t> restAt_;
};

} // namespace

bool writeCsvText(const LosslessFile& file, bool readable, const TextSink& sink) {
    const RecordLevel& level = recordKind(file.kind).top();
    const std::vector<ValueColumn> columns = valueColumns(level);
    TextPieces pieces(sink);
    std::string& out = pieces.text();
    for (const ValueColumn& column : columns) {
        out += column.name;
        out += ',';
    }
    if (readable) {
        out.pop_back();
    } else {
        out += restColumn;
    }
    out += '\n';
    std::string cell;
    ByteVector rest;
    for (const StoredRecord& record : file.records) {
        for (const ValueColumn& column : columns) {
            cell.clear();
            appendFieldValueText(*column.field, record.bytes, column.index, cell);
            appendCell(out, cell);
            out += ',';
        }
        if (readable) {
            out.pop_back();
            if (out.empty() || out.back() == '\n') {
                out += "\"\""; // a row of one empty cell, which an empty line is not
            }
        } else {
            restInto(level, record.bytes, rest);
            appendHex(rest, out);
        }
        out += '\n';
        if (!pieces.flushFull()) {
            return false;
        }
    }
    if (!readable && !file.trailing.empty()) {
        out.append(columns.size(), ',');
        out += trailingMark;
        appendHex(file.trailing, out);
        out += '\n';
    }
    return pieces.flush();
}

std::string csvTextOf(const LosslessFile& file, bool readable) {
    return wholeText([&](const TextSink& sink) { return writeCsvText(file, readable, sink); });
}

ImportResult fileOfCsvText(std::string_view text, const ImportSource& source) {
    ImportResult result;
    CsvReader(source, result).read(text);
    return result;
}

} // namespace keel
