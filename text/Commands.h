// SPDX-License-Identifier: MIT
#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

namespace keel {

// The subcommands of keeltext. Each takes the arguments after its name and gives the exit
// status: 0 done, 1 the work failed (a file that cannot be read or written, a text with
// problems; nothing is written then), 2 a wrong command line.
int runExport(std::span<const std::string> arguments, std::ostream& out, std::ostream& err);
int runImport(std::span<const std::string> arguments, std::ostream& out, std::ostream& err);

std::string_view exportUsage();
std::string_view importUsage();

} // namespace keel
