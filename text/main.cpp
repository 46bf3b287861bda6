// SPDX-License-Identifier: MIT
#include "text/Commands.h"
#include "text/DiffCommand.h"

#include <exception>
#include <iostream>
#include <span>
#include <string>
#include <vector>

namespace {

// A subcommand: its name, what runs it with the arguments after the name, and its usage line.
struct Subcommand {
    std::string_view name;
    int (*run)(std::span<const std::string> arguments, std::ostream& out, std::ostream& err);
    std::string_view (*usage)();
};

constexpr Subcommand subcommands[] = {
    {"export", keel::runExport, keel::exportUsage},
    {"import", keel::runImport, keel::importUsage},
    {"diff", keel::runDiffCommand, keel::diffUsage},
};

void writeUsage(std::ostream& out) {
    out << "Usage: keeltext SUBCOMMAND ...\n"
           "Gives the files of a Brinewatch database set as text and back, byte for byte.\n\n";
    for (const Subcommand& subcommand : subcommands) {
        out << "  " << subcommand.usage().substr(std::string_view("Usage: ").size());
    }
    out << "\n"
           "  --csv          CSV: a row per record, a column per value (the default, but for\n"
           "                 nations and carriers, which are JSON only)\n"
           "  --json         JSON: an object per record, nested classes, platforms, aircraft types\n"
           "  --readable     leave out the bytes no value covers (_rest), for reading only\n"
           "  --kind KIND    the kind of file, where its name does not tell: objects, launchers,\n"
           "                 3dobjects, nations, carriers, sensors, airstrips\n"
           "  -o FILE        write there (replaced atomically) instead of to standard output\n"
           "  --base FILE    where a record without _rest takes the bytes no value covers\n"
           "  -h, --help     show this help and exit\n"
           "  -V, --version  show the version and exit\n"
           "\n"
           "Exit status: 0 when done, 1 when a file could not be read or written or a text has\n"
           "problems (nothing is written then), 2 when the command line was wrong. diff, as\n"
           "diff(1): 0 when A and B are equal, 1 when they differ, 2 when they cannot be compared.\n";
}

} // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    for (const std::string& argument : arguments) {
        if (argument == "--") {
            break;
        }
        if (argument == "-h" || argument == "--help") {
            writeUsage(std::cout);
            return std::cout.flush() ? 0 : 2;
        }
        if (argument == "-V" || argument == "--version") {
            std::cout << "keeltext " << KEEL_TEXT_VERSION << "\n";
            return std::cout.flush() ? 0 : 2;
        }
    }
    if (arguments.empty()) {
        std::cerr << "keeltext: no subcommand given\n";
        writeUsage(std::cerr);
        return 2;
    }
    for (const Subcommand& subcommand : subcommands) {
        if (arguments.front() == subcommand.name) {
            try {
                return subcommand.run(std::span(arguments).subspan(1), std::cout, std::cerr);
            } catch (const std::exception& fault) {
                std::cerr << "keeltext: " << fault.what() << "\n";
                return 1;
            }
        }
    }
    std::cerr << "keeltext: unknown subcommand '" << arguments.front() << "'\n";
    writeUsage(std::cerr);
    return 2;
}
