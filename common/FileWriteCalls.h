// SPDX-License-Identifier: MIT
#pragma once

#include <sys/types.h>

namespace keel {

// The system calls through which every file is written, in one place, so that tests can make any
// step of a write fail and check that nothing the user had is lost. The programs always use the
// system's own calls.
struct FileWriteCalls {
    int (*makeTemporary)(char* pattern);                           // mkstemp
    int (*changeMode)(int fd, mode_t mode);                        // fchmod
    ssize_t (*write)(int fd, const void* bytes, size_t count);     // write
    int (*syncFile)(int fd);                                       // fsync of the file written
    int (*close)(int fd);                                          // close of the file written
    int (*rename)(const char* from, const char* to);               // rename over the target
    int (*syncDirectory)(int fd);                                  // fsync of its directory
    int (*truncate)(int fd, off_t length);                         // ftruncate, writing in place
};

// The calls in use.
const FileWriteCalls& fileWriteCalls();
// The system's own calls.
const FileWriteCalls& systemFileWriteCalls();

// For tests: the calls in use are these until the override goes. Overrides do not nest.
class FileWriteCallsOverride {
public:
    explicit FileWriteCallsOverride(const FileWriteCalls& calls);
    FileWriteCallsOverride(const FileWriteCallsOverride&) = delete;
    FileWriteCallsOverride& operator=(const FileWriteCallsOverride&) = delete;
    ~FileWriteCallsOverride();
};

} // namespace keel
