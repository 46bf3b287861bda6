// SPDX-License-Identifier: MIT
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace keel {

// What the command line of keelcheck asks for.
struct CheckCommand {
    enum class Action { Check, Help, Version, Refuse };

    Action action = Action::Check;
    bool json = false;
    std::string directory = ".";
    std::string error; // why the command line is refused
};

// keelcheck [--json] [DIRECTORY]; --help and --version win over everything else; "--" ends
// the options, so that a directory whose name begins with '-' can be given.
CheckCommand parseCheckCommand(std::span<const std::string> arguments);

std::string_view checkUsage();

} // namespace keel
