// SPDX-License-Identifier: MIT
#include "support/FailingFileCalls.h"

#include <cerrno>
#include <unistd.h>

namespace keel::test {
namespace {

struct Plan {
    WriteStep step = WriteStep::MakeTemporary;
    int failing = 1;
    int calls = 0;
    bool failed = false;
};

Plan plan;

// Counts a call of the planned kind; true when it is the one to fail.
bool failsNow(WriteStep step) {
    if (plan.step != step || plan.failed) {
        return false;
    }
    if (++plan.calls < plan.failing) {
        return false;
    }
    plan.failed = true;
    return true;
}

int makeTemporary(char* pattern) {
    if (failsNow(WriteStep::MakeTemporary)) {
        errno = ENOSPC;
        return -1;
    }
    return systemFileWriteCalls().makeTemporary(pattern);
}

int changeMode(int fd, mode_t mode) {
    if (failsNow(WriteStep::ChangeMode)) {
        errno = EPERM;
        return -1;
    }
    return systemFileWriteCalls().changeMode(fd, mode);
}

ssize_t write(int fd, const void* bytes, size_t count) {
    const bool partWay = plan.step == WriteStep::WritePartWay || plan.step == WriteStep::DiskFull;
    if (partWay && !plan.failed && plan.calls == 0 && count > 1) {
        // The first piece goes through; the next write fails.
        ++plan.calls;
        return systemFileWriteCalls().write(fd, bytes, count / 2);
    }
    if (failsNow(WriteStep::WritePartWay)) {
        errno = EIO;
        return -1;
    }
    if (failsNow(WriteStep::DiskFull)) {
        errno = ENOSPC;
        return -1;
    }
    return systemFileWriteCalls().write(fd, bytes, count);
}

int syncFile(int fd) {
    if (failsNow(WriteStep::SyncFile)) {
        errno = EIO;
        return -1;
    }
    return systemFileWriteCalls().syncFile(fd);
}

int close(int fd) {
    const int closed = systemFileWriteCalls().close(fd);
    if (failsNow(WriteStep::Close)) {
        errno = EIO;
        return -1;
    }
    return closed;
}

int rename(const char* from, const char* to) {
    if (failsNow(WriteStep::Rename)) {
        errno = EXDEV;
        return -1;
    }
    return systemFileWriteCalls().rename(from, to);
}

int syncDirectory(int fd) {
    if (failsNow(WriteStep::SyncDirectory)) {
        errno = EIO;
        return -1;
    }
    return systemFileWriteCalls().syncDirectory(fd);
}

int truncate(int fd, off_t length) {
    if (failsNow(WriteStep::CutToLength)) {
        errno = EIO;
        return -1;
    }
    return systemFileWriteCalls().truncate(fd, length);
}

const FileWriteCalls failingCalls{
    .makeTemporary = makeTemporary,
    .changeMode = changeMode,
    .write = write,
    .syncFile = syncFile,
    .close = close,
    .rename = rename,
    .syncDirectory = syncDirectory,
    .truncate = truncate,
};

const FileWriteCalls& armed(WriteStep step, int failing) {
    plan = Plan{step, failing, 0, false};
    return failingCalls;
}

} // namespace

std::vector<WriteStep> everyWriteStep() {
    return {WriteStep::MakeTemporary, WriteStep::ChangeMode, WriteStep::WritePartWay, WriteStep::DiskFull,
            WriteStep::SyncFile,      WriteStep::Close,      WriteStep::Rename,       WriteStep::SyncDirectory};
}

std::string nameOf(WriteStep step) {
    switch (step) {
    case WriteStep::MakeTemporary:
        return "make the temporary file";
    case WriteStep::ChangeMode:
        return "set its mode";
    case WriteStep::WritePartWay:
        return "write part-way";
    case WriteStep::DiskFull:
        return "disk full";
    case WriteStep::SyncFile:
        return "sync the file";
    case WriteStep::Close:
        return "close the file";
    case WriteStep::Rename:
        return "rename over the target";
    case WriteStep::SyncDirectory:
        return "sync the directory";
    case WriteStep::CutToLength:
        return "cut the file to its length";
    }
    return {};
}

FailingFileCalls::FailingFileCalls(WriteStep step, int failing) : override_(armed(step, failing)) {}

FailingFileCalls::~FailingFileCalls() = default;

bool FailingFileCalls::failed() const { return plan.failed; }

} // namespace keel::test
