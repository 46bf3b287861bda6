// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace keel::test {

struct ProgramOutput {
    int exitCode = -1; // the status, or -1 when the program did not exit by itself
    bool timedOut = false; // it ran past its time limit and was killed
    std::string out;
    std::string err;
};

struct ProgramLimits {
    // Lowers the largest file the program may write; writes beyond it fail with EFBIG.
    std::optional<unsigned long> fileSizeLimit;
    // Kills the program when it runs longer, so that one that hangs fails its test instead of
    // holding up the rest.
    std::optional<std::chrono::milliseconds> timeLimit = std::nullopt;
};

// Runs a program with the given arguments in `workingDirectory` and collects its exit code
// and what it wrote to standard output and standard error.
ProgramOutput runProgram(const std::filesystem::path& program,
                         const std::vector<std::string>& arguments,
                         const std::filesystem::path& workingDirectory, ProgramLimits limits = {});

} // namespace keel::test
