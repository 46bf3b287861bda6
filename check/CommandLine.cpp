// SPDX-License-Identifier: MIT
#include "check/CommandLine.h"

namespace keel {

CheckCommand parseCheckCommand(std::span<const std::string> arguments) {
    CheckCommand command;
    bool directoryGiven = false;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
            if (argument == "--") {
                optionsEnded = true;
            } else if (argument == "-h" || argument == "--help") {
                command.action = CheckCommand::Action::Help;
                return command;
            } else if (argument == "-V" || argument == "--version") {
                command.action = CheckCommand::Action::Version;
                return command;
            } else if (argument == "--json") {
                command.json = true;
            } else if (command.error.empty()) {
                command.error = "unknown option '" + argument + "'";
            }
            continue;
        }
        if (directoryGiven && command.error.empty()) {
            command.error = "more than one directory given ('" + command.directory + "' and '" +
                            argument + "')";
        }
        command.directory = argument;
        directoryGiven = true;
    }
    if (!command.error.empty()) {
        command.action = CheckCommand::Action::Refuse;
    }
    return command;
}

std::string_view checkUsage() {
    return "Usage: keelcheck [--json] [DIRECTORY]\n"
           "Checks that the seven files of a Brinewatch database set agree with each other.\n"
           "\n"
           "  DIRECTORY    the directory of the set (default: the current directory)\n"
           "  --json       write the report as JSON for scripts\n"
           "  -h, --help     show this help and exit\n"
           "  -V, --version  show the version and exit\n"
           "\n"
           "Exit status: 0 when nothing was found, 1 when something was, 2 when the set could\n"
           "not be read or the command line was wrong.\n";
}

} // namespace keel
