// SPDX-License-Identifier: MIT
#pragma once

#include "common/FileWriteCalls.h"

#include <string>
#include <vector>

namespace keel::test {

// The steps at which writing a file can fail.
enum class WriteStep {
    MakeTemporary, // no file can be made beside the target (no space)
    ChangeMode,
    WritePartWay,  // the first piece is written, then the device fails
    DiskFull,      // the first piece is written, then there is no space left
    SyncFile,
    Close,
    Rename,
    SyncDirectory,
    CutToLength,   // a file written in place cannot be cut to its new length
};

// Every step of replacing a file through a temporary one beside it; CutToLength belongs only
// to writing a file in place.
std::vector<WriteStep> everyWriteStep();
std::string nameOf(WriteStep step);

// While it lives, the `failing`-th call (counting from 1) of the kind the step names fails, with
// the error a real system would give; every other call is the system's own. A failing close or
// write part-way still does the part a real failure does (the descriptor is closed, the first
// piece is written), so that nothing leaks. Only one may live at a time.
class FailingFileCalls {
public:
    explicit FailingFileCalls(WriteStep step, int failing = 1);
    FailingFileCalls(const FailingFileCalls&) = delete;
    FailingFileCalls& operator=(const FailingFileCalls&) = delete;
    ~FailingFileCalls();

    // Whether the step was reached and failed.
    bool failed() const;

private:
    FileWriteCallsOverride override_;
};

} // namespace keel::test
