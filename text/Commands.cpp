// SPDX-License-Identifier: MIT
#include "text/Commands.h"

#include "common/FileIo.h"
#include "text/CsvText.h"
#include "text/JsonText.h"

#include <iostream>
#include <iterator>
#include <optional>
#include <variant>
#include <vector>

namespace keel {
namespace {

enum class TextForm { Csv, Json };

// What the options of export and import ask for.
struct Options {
    std::vector<std::string> operands;
    std::optional<TextForm> form;
    bool readable = false;
    std::optional<RecordKind> kind;
    std::optional<std::string> output;
    std::optional<std::string> base;
    std::string error; // why the command line is refused
};

enum class Accepts { Export, Import };

// --csv, --json, --readable (export), --kind KIND, -o FILE, --base FILE (import); a value may
// follow its option as the next argument or after "="; "--" ends the options and "-" alone is
// standard input.
Options parseOptions(std::span<const std::string> arguments, Accepts accepts) {
    Options options;
    const auto refuse = [&](std::string why) {
        if (options.error.empty()) {
            options.error = std::move(why);
        }
    };
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            options.operands.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const auto value = [&]() -> std::optional<std::string> {
            if (equals != std::string::npos) {
                return argument.substr(equals + 1);
            }
            if (i + 1 < arguments.size()) {
                return arguments[++i];
            }
            refuse("the option '" + name + "' needs a value");
            return std::nullopt;
        };
        const bool takesValue = name == "--kind" || name == "-o" || name == "--output" ||
                                (name == "--base" && accepts == Accepts::Import);
        if (equals != std::string::npos && !takesValue) {
            refuse("the option '" + name + "' takes no value");
        } else if (name == "--csv" || name == "--json") {
            const TextForm form = name == "--csv" ? TextForm::Csv : TextForm::Json;
            if (options.form && *options.form != form) {
                refuse("give either --csv or --json");
            }
            options.form = form;
        } else if (name == "--readable" && accepts == Accepts::Export) {
            options.readable = true;
        } else if (name == "--kind") {
            if (const auto given = value()) {
                options.kind = recordKindNamed(*given);
                if (!options.kind) {
                    refuse("unknown kind '" + *given + "'; the kinds are " + recordKindNames());
                }
            }
        } else if (name == "-o" || name == "--output") {
            options.output = value();
        } else if (name == "--base" && accepts == Accepts::Import) {
            options.base = value();
        } else {
            refuse("unknown option '" + argument + "'");
        }
    }
    if (options.operands.size() != 1) {
        refuse(options.operands.empty() ? "no file given" : "more than one file given");
    }
    return options;
}

struct Input {
    ByteVector bytes;
    std::string error;
};

// A whole file, or standard input for "-".
Input readInput(const std::string& path) {
    if (path == "-") {
        Input input;
        const std::string all((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
        if (std::cin.bad()) {
            input.error = "cannot read standard input";
        }
        input.bytes.assign(all.begin(), all.end());
        return input;
    }
    ReadResult read = readWholeFile(path);
    if (!read.ok()) {
        return {{}, "cannot read " + path + (read.reason.empty() ? "" : ": " + read.reason)};
    }
    return {std::move(read.bytes), {}};
}

std::string lowered(std::string text) {
    for (char& c : text) {
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return text;
}

// The form asked for, else that of the text's extension, else a JSON array when the text
// begins with one.
TextForm formOfText(const Options& options, const std::string& path, ConstByteSpan text) {
    if (options.form) {
        return *options.form;
    }
    const std::string extension = lowered(std::filesystem::path(path).extension().string());
    if (extension == ".json" || extension == ".csv") {
        return extension == ".json" ? TextForm::Json : TextForm::Csv;
    }
    const auto first = std::find_if(text.begin(), text.end(), [](Byte b) { return b != ' ' && b != '\t' && b != '\r' && b != '\n'; });
    return first != text.end() && *first == '[' ? TextForm::Json : TextForm::Csv;
}

int refuse(std::ostream& err, const std::string& why, std::string_view usage) {
    err << "keeltext: " << why << "\n" << usage << "Try 'keeltext --help' for more.\n";
    return 2;
}

// The kind of the file named, or the reason for the user to give --kind.
std::variant<RecordKind, std::string> kindOf(const std::string& path, const Options& options) {
    if (!options.kind && path == "-") {
        return std::string("give --kind for standard input");
    }
    return recordKindFor(path, options.kind);
}

// Whether the output would replace the file being read, which would then be lost.
bool isSameFile(const std::string& input, const std::string& output) {
    std::error_code ignored;
    return input != "-" && std::filesystem::equivalent(input, output, ignored);
}

std::string_view viewOf(const ByteVector& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

} // namespace

std::string_view exportUsage() {
    return "Usage: keeltext export FILE [--csv | --json] [--readable] [--kind KIND] [-o OUT]\n";
}

std::string_view importUsage() {
    return "Usage: keeltext import TEXT -o FILE [--csv | --json] [--kind KIND] [--base FILE]\n";
}

int runExport(std::span<const std::string> arguments, std::ostream& out, std::ostream& err) {
    const Options options = parseOptions(arguments, Accepts::Export);
    if (!options.error.empty()) {
        return refuse(err, options.error, exportUsage());
    }
    const std::string& path = options.operands.front();
    const auto kind = kindOf(path, options);
    if (const auto* why = std::get_if<std::string>(&kind)) {
        return refuse(err, *why, exportUsage());
    }
    const RecordKindInfo& info = recordKind(std::get<RecordKind>(kind));
    if (info.counted && options.form == TextForm::Csv) {
        return refuse(err, std::string(info.name) + " have no CSV form; their text is JSON", exportUsage());
    }
    const std::optional<std::string> output = options.output == "-" ? std::nullopt : options.output;
    if (output && isSameFile(path, *output)) {
        return refuse(err, "-o " + *output + " is the file being exported; give another", exportUsage());
    }
    const Input input = readInput(path);
    if (!input.error.empty()) {
        err << "keeltext: " << input.error << "\n";
        return 1;
    }
    const LosslessFile file = readLosslessFile(info.kind, input.bytes);
    const bool json = info.counted || options.form == TextForm::Json;
    const auto writeText = [&](const TextSink& sink) {
        return json ? writeJsonText(file, options.readable, sink) : writeCsvText(file, options.readable, sink);
    };
    if (output) {
        const WriteResult written = replaceFileAtomicallyFrom(*output, [&](const ContentSink& write) {
            return writeText([&](std::string_view piece) {
                return write(ConstByteSpan(reinterpret_cast<const Byte*>(piece.data()), piece.size()));
            });
        });
        if (!written.ok()) {
            err << "keeltext: " << writeFailureMessage(written, *output)
                << (written.reason.empty() ? "" : ": " + written.reason) << "\n";
            return 1;
        }
        return 0;
    }
    const bool written = writeText([&](std::string_view piece) {
        return static_cast<bool>(out.write(piece.data(), static_cast<std::streamsize>(piece.size())));
    });
    if (!written || !out.flush()) {
        err << "keeltext: cannot write to standard output\n";
        return 1;
    }
    return 0;
}

int runImport(std::span<const std::string> arguments, std::ostream&, std::ostream& err) {
    const Options options = parseOptions(arguments, Accepts::Import);
    if (!options.error.empty()) {
        return refuse(err, options.error, importUsage());
    }
    if (!options.output || *options.output == "-") {
        return refuse(err, "give the file to make with -o FILE", importUsage());
    }
    const std::string& textPath = options.operands.front();
    const std::string& output = *options.output;
    const auto kind = recordKindFor(output, options.kind);
    if (const auto* why = std::get_if<std::string>(&kind)) {
        return refuse(err, *why, importUsage());
    }
    const RecordKindInfo& info = recordKind(std::get<RecordKind>(kind));
    if (info.counted && options.form == TextForm::Csv) {
        return refuse(err, std::string(info.name) + " have no CSV form; their text is JSON", importUsage());
    }
    if (isSameFile(textPath, output)) {
        return refuse(err, "-o " + output + " is the text being imported; give another", importUsage());
    }
    const Input text = readInput(textPath);
    if (!text.error.empty()) {
        err << "keeltext: " << text.error << "\n";
        return 1;
    }
    std::optional<LosslessFile> base;
    if (options.base) {
        const Input baseInput = readInput(*options.base);
        if (!baseInput.error.empty()) {
            err << "keeltext: " << baseInput.error << "\n";
            return 1;
        }
        base = readLosslessFile(info.kind, baseInput.bytes);
    }
    const ImportSource source{info.kind, textPath == "-" ? "<stdin>" : std::filesystem::path(textPath).filename().string(),
                              base ? &*base : nullptr};
    const bool json = info.counted || formOfText(options, textPath, text.bytes) == TextForm::Json;
    const ImportResult result =
        json ? fileOfJsonText(viewOf(text.bytes), source) : fileOfCsvText(viewOf(text.bytes), source);
    if (!result.ok()) {
        for (const std::string& line : result.problems.lines()) {
            err << line << "\n";
        }
        if (result.problems.full()) {
            err << "keeltext: reading stopped at the first " << ImportProblems::listed << " problems\n";
        }
        err << "keeltext: nothing was written to " << output << "\n";
        return 1;
    }
    const WriteResult written = replaceFileAtomicallyFrom(
        output, [&](const ContentSink& write) { return writeLosslessFile(result.file, write); });
    if (!written.ok()) {
        err << "keeltext: " << writeFailureMessage(written, output)
            << (written.reason.empty() ? "" : ": " + written.reason) << "\n";
        return 1;
    }
    return 0;
}

} // namespace keel
