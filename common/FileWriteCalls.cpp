// SPDX-License-Identifier: MIT
#include "common/FileWriteCalls.h"

#include <atomic>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace keel {
namespace {

const FileWriteCalls systemCalls{
    .makeTemporary = ::mkstemp,
    .changeMode = ::fchmod,
    .write = ::write,
    .syncFile = ::fsync,
    .close = ::close,
    .rename = ::rename,
    .syncDirectory = ::fsync,
    .truncate = ::ftruncate,
};

std::atomic<const FileWriteCalls*> inUse{&systemCalls};

} // namespace

const FileWriteCalls& fileWriteCalls() { return *inUse.load(std::memory_order_acquire); }
const FileWriteCalls& systemFileWriteCalls() { return systemCalls; }

FileWriteCallsOverride::FileWriteCallsOverride(const FileWriteCalls& calls) {
    inUse.store(&calls, std::memory_order_release);
}

FileWriteCallsOverride::~FileWriteCallsOverride() { inUse.store(&systemCalls, std::memory_order_release); }

} // namespace keel
