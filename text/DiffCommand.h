// SPDX-License-Identifier: MIT
#pragma once

#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace keel {

// keeltext diff [--json] [--kind KIND] A B: what changed from A to B, two files of one kind or
// two set directories. `arguments` are those after "diff". The differences go to `out`,
// messages to `err`. Returns the exit status, as diff(1) does: 0 when A and B are equal, 1
// when they differ, 2 when they cannot be compared.
int runDiffCommand(std::span<const std::string> arguments, std::ostream& out, std::ostream& err);

// The usage line of the diff command.
std::string_view diffUsage();

} // namespace keel
