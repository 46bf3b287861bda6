// SPDX-License-Identifier: MIT
#include "text/DiffCommand.h"

#include "common/FileIo.h"
#include "common/PageProvision.h"
#include "text/DiffReport.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

namespace keel {
namespace {

struct DiffOptions {
    bool json = false;
    std::optional<RecordKind> kind;
    std::vector<std::filesystem::path> paths;
};

// The options, or a message for the user.
std::variant<DiffOptions, std::string> parseDiffOptions(std::span<const std::string> arguments) {
    DiffOptions options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument == "-" || !argument.starts_with("-")) {
            options.paths.emplace_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--json") {
            options.json = true;
        } else if (argument == "--kind" || argument.starts_with("--kind=")) {
            std::string name;
            if (argument != "--kind") {
                name = argument.substr(7);
            } else if (i + 1 < arguments.size()) {
                name = arguments[++i];
            } else {
                return std::string("--kind needs a kind: ") + recordKindNames();
            }
            options.kind = recordKindNamed(name);
            if (!options.kind) {
                return "unknown kind \"" + name + "\"; the kinds are " + recordKindNames();
            }
        } else {
            return "unknown option " + argument;
        }
    }
    if (options.paths.size() != 2) {
        return "diff compares two files or two set directories, A and B";
    }
    return options;
}

// A whole file in memory that its reading fills: none of it is cleared first, which at
// hundreds of megabytes would cost as much again as comparing them.
class FileBytes {
public:
    explicit FileBytes(const std::filesystem::path& path) : path_(path) {
        read_ = readWholeFileInto(path, [this](std::size_t size) {
            if (size > capacity_) {
                auto larger = std::make_unique_for_overwrite<Byte[]>(size);
                providePages(larger.get(), larger.get() + size);
                std::copy_n(data_.get(), std::min(size_, size), larger.get());
                data_ = std::move(larger);
                capacity_ = size;
            }
            size_ = size;
            return data_.get();
        });
    }

    bool ok() const { return read_.ok(); }
    bool missing() const { return read_.status == ReadStatus::Missing; }
    ConstByteSpan bytes() const { return {data_.get(), read_.ok() ? size_ : 0}; }
    std::string failure() const {
        return "cannot read " + path_.string() + ": " +
               (read_.reason.empty() ? "no such file" : read_.reason);
    }

private:
    std::filesystem::path path_;
    std::unique_ptr<Byte[]> data_;
    std::size_t capacity_ = 0;
    std::size_t size_ = 0;
    ReadIntoResult read_;
};

// Compares what it is given, telling a sink; a failure ends it with a message.
class Comparison {
public:
    explicit Comparison(DifferenceSink& sink) : sink_(sink) {}

    std::size_t differences() const { return differences_; }

    // Two files of one kind, named in the report as `label`. Nothing when they compared.
    std::optional<std::string> files(std::string_view label, RecordKind kind,
                                     const std::filesystem::path& a,
                                     const std::filesystem::path& b) {
        const FileBytes inA(a);
        if (!inA.ok()) {
            return inA.failure();
        }
        const FileBytes inB(b);
        if (!inB.ok()) {
            return inB.failure();
        }
        compare(label, kind, inA.bytes(), inB.bytes());
        return std::nullopt;
    }

    // Every file of a set that either directory holds, in the set's order.
    std::optional<std::string> sets(const std::filesystem::path& a,
                                    const std::filesystem::path& b) {
        // Two directories of no set are no sets alike: most likely a path given wrong.
        const auto holdsAny = [](const std::filesystem::path& directory) {
            return std::ranges::any_of(recordKinds(), [&](const RecordKindInfo& kind) {
                std::error_code unknown;
                return std::filesystem::exists(directory / kind.setFileName, unknown) || unknown;
            });
        };
        if (!holdsAny(a) && !holdsAny(b)) {
            return "neither " + a.string() + " nor " + b.string() +
                   " holds a file of a set (objects.odb, mission.db, ...)";
        }
        for (const RecordKindInfo& kind : recordKinds()) {
            const FileBytes inA(a / kind.setFileName);
            const FileBytes inB(b / kind.setFileName);
            const bool missingInA = inA.missing();
            const bool missingInB = inB.missing();
            if (!inA.ok() && !missingInA) {
                return inA.failure();
            }
            if (!inB.ok() && !missingInB) {
                return inB.failure();
            }
            if (missingInA != missingInB) {
                Difference onlyInOne;
                onlyInOne.change = missingInB ? Change::FileOnlyInA : Change::FileOnlyInB;
                onlyInOne.file = kind.setFileName;
                tell(onlyInOne);
            } else if (!missingInA) {
                compare(kind.setFileName, kind.kind, inA.bytes(), inB.bytes());
            }
        }
        return std::nullopt;
    }

private:
    void tell(const Difference& difference) {
        sink_.add(difference);
        ++differences_;
    }

    void compare(std::string_view label, RecordKind kind, ConstByteSpan a, ConstByteSpan b) {
        if (a.size() != b.size() ||
            (!a.empty() && std::memcmp(a.data(), b.data(), a.size()) != 0)) {
            differences_ += diffFiles(label, kind, a, b, sink_);
        }
    }

    DifferenceSink& sink_;
    std::size_t differences_ = 0;
};

std::string kindOf(RecordKind kind) {
    return std::string(recordKind(kind).name);
}

int compareAndReport(std::span<const std::string> arguments, std::ostream& out, std::ostream& err) {
    const auto parsed = parseDiffOptions(arguments);
    if (const auto* message = std::get_if<std::string>(&parsed)) {
        err << "keeltext: " << *message << "\n"
            << diffUsage() << "Try 'keeltext --help' for more.\n";
        return 2;
    }
    const DiffOptions& options = std::get<DiffOptions>(parsed);
    const std::filesystem::path& a = options.paths[0];
    const std::filesystem::path& b = options.paths[1];
    std::error_code unused;
    const bool setA = std::filesystem::is_directory(a, unused);
    const bool setB = std::filesystem::is_directory(b, unused);

    JsonDiffReport json;
    TextDiffReport text(out);
    DifferenceSink& sink = options.json ? static_cast<DifferenceSink&>(json) : text;
    Comparison comparison(sink);
    std::optional<std::string> failure;
    const auto missing = [](const std::filesystem::path& path) {
        std::error_code unknown;
        return !std::filesystem::exists(path, unknown) && !unknown;
    };
    if (missing(a) || missing(b)) {
        failure = "cannot read " + (missing(a) ? a : b).string() + ": no such file or directory";
    } else if (setA != setB) {
        failure = (setA ? a : b).string() + " is a directory and " + (setA ? b : a).string() +
                  " is not: give two files of one kind or two set directories";
    } else if (setA) {
        failure = options.kind
                      ? std::optional<std::string>("--kind is for two files, not for two sets")
                      : comparison.sets(a, b);
    } else {
        const auto kindA = recordKindFor(a, options.kind);
        const auto kindB = recordKindFor(b, options.kind);
        if (const auto* message = std::get_if<std::string>(&kindA)) {
            failure = *message;
        } else if (const auto* messageB = std::get_if<std::string>(&kindB)) {
            failure = *messageB;
        } else if (std::get<RecordKind>(kindA) != std::get<RecordKind>(kindB)) {
            failure = a.string() + " holds " + kindOf(std::get<RecordKind>(kindA)) + " and " +
                      b.string() + " holds " + kindOf(std::get<RecordKind>(kindB)) +
                      ": only files of one kind compare";
        } else {
            failure = comparison.files(a.filename().string(), std::get<RecordKind>(kindA), a, b);
        }
    }
    if (failure) {
        out.flush();
        err << "keeltext: " << *failure << "\n";
        return 2;
    }
    if (options.json) {
        json.write(a, b, out);
    }
    if (!out.flush()) {
        err << "keeltext diff: cannot write to standard output\n";
        return 2;
    }
    return comparison.differences() == 0 ? 0 : 1;
}

} // namespace

std::string_view diffUsage() {
    return "Usage: keeltext diff [--json] [--kind KIND] A B\n";
}

int runDiffCommand(std::span<const std::string> arguments, std::ostream& out, std::ostream& err) {
    // A fault, such as a lack of memory, is trouble, never an answer of "differ".
    try {
        return compareAndReport(arguments, out, err);
    } catch (const std::exception& fault) {
        out.flush();
        err << "keeltext: " << fault.what() << "\n";
        return 2;
    }
}

} // namespace keel
