// SPDX-License-Identifier: MIT
#include "merge/InputReader.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace keel {
namespace {

// Files to merge read ahead of the merge at most: two buffers take turns.
constexpr std::size_t buffersForMerged = 2;

// The machine's memory in bytes; room that would not fit in it is not asked for.
std::size_t physicalMemory() {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0 ||
        static_cast<std::size_t>(pages) > SIZE_MAX / static_cast<std::size_t>(pageSize)) {
        return SIZE_MAX;
    }
    return static_cast<std::size_t>(pages) * static_cast<std::size_t>(pageSize);
}

} // namespace

InputReader::InputReader(std::filesystem::path master, std::size_t spare,
                         std::vector<std::filesystem::path> merged)
    : masterPath_(std::move(master)), spare_(spare), mergedPaths_(std::move(merged)) {
    try {
        thread_ = std::thread([this] { readAll(); });
    } catch (const std::system_error&) {
        // Each input is then read when it is asked for.
    }
}

InputReader::~InputReader() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void InputReader::readAll() {
    try {
        const ReadIntoResult master = readMaster(true);
        // Nothing is merged into a master that cannot be read.
        if (!master.ok() && master.status != ReadStatus::Missing) {
            return;
        }
        for (const std::filesystem::path& path : mergedPaths_) {
            Buffer buffer;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] { return stopping_ || buffersOut_ < buffersForMerged; });
                if (stopping_) {
                    return;
                }
                ++buffersOut_;
                if (!spareBuffers_.empty()) {
                    buffer = std::move(spareBuffers_.back());
                    spareBuffers_.pop_back();
                }
            }
            Merged read = readMerged(path, std::move(buffer));
            {
                std::lock_guard lock(mutex_);
                merged_.push_back(std::move(read));
            }
            changed_.notify_all();
        }
    } catch (...) {
        std::lock_guard lock(mutex_);
        failure_ = std::current_exception();
        masterOver_ = true;
        changed_.notify_all();
    }
}

ReadIntoResult InputReader::readMaster(bool inPieces) {
    // The pages of the master's buffer are provided a piece ahead of the read, or all at once.
    const std::size_t ahead = inPieces ? readPieceSize : SIZE_MAX;
    bool sized = false;
    const ReadRoom room = [&](std::size_t size) {
        if (!std::exchange(sized, true)) {
            if (spare_ <= physicalMemory() - std::min(size, physicalMemory())) {
                try {
                    master_.reserve(size + spare_);
                } catch (const std::bad_alloc&) {
                    // The room behind was only wished for; the file itself may still fit.
                }
            }
            std::lock_guard lock(mutex_);
            masterExpected_ = size;
            masterRoom_ = std::max(size, master_.capacity());
        }
        const std::size_t had = master_.size();
        if (size > master_.capacity()) {
            // The buffer moves: not while its bytes are used.
            std::lock_guard moving(masterMoving_);
            master_.resize(size, false);
        } else {
            master_.resize(size, false);
        }
        if (size > had) {
            master_.providePages(had, std::min(size, had + ahead));
        }
        return master_.data();
    };
    ReadProgress progress;
    if (inPieces) {
        progress = [&](std::size_t read) {
            master_.providePages(read, std::min(master_.size(), read + ahead));
            {
                std::lock_guard lock(mutex_);
                masterArrived_ = read;
            }
            changed_.notify_all();
        };
    }
    const ReadIntoResult read = readWholeFileInto(masterPath_, room, progress);
    {
        std::lock_guard lock(mutex_);
        masterRead_ = read;
        masterArrived_ = read.ok() ? read.size : 0;
        masterOver_ = true;
    }
    changed_.notify_all();
    return read;
}

InputReader::Merged InputReader::readMerged(const std::filesystem::path& path, Buffer buffer) {
    bool first = true;
    Merged merged;
    merged.read = readWholeFileInto(path, [&](std::size_t size) {
        if (std::exchange(first, false)) {
            buffer.clear(); // the last file's bytes need not move with the buffer
        }
        buffer.resize(size);
        return buffer.data();
    });
    merged.bytes = std::move(buffer);
    return merged;
}

ReadIntoResult InputReader::masterRead() const {
    std::lock_guard lock(mutex_);
    return masterRead_;
}

void InputReader::rethrowFailure() {
    if (failure_) {
        std::rethrow_exception(failure_);
    }
}

bool InputReader::awaitMaster(std::size_t known,
                              const std::function<void(const MasterSoFar&)>& use) {
    if (!thread_.joinable() && !masterOver_) {
        readMaster(false);
    }
    MasterSoFar soFar;
    bool over = false;
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return masterOver_ || masterArrived_ > known; });
        rethrowFailure();
        over = masterOver_;
        soFar.expected = masterExpected_;
        soFar.room = masterRoom_;
        known = masterArrived_;
    }
    std::lock_guard moving(masterMoving_);
    soFar.bytes = ConstByteSpan(master_.data(), known);
    use(soFar);
    return !over;
}

InputReader::Merged InputReader::nextMerged() {
    if (!thread_.joinable()) {
        Buffer buffer;
        if (!spareBuffers_.empty()) {
            buffer = std::move(spareBuffers_.back());
            spareBuffers_.pop_back();
        }
        ++mergedTaken_;
        return readMerged(mergedPaths_.at(mergedTaken_ - 1), std::move(buffer));
    }
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return failure_ || !merged_.empty(); });
    rethrowFailure();
    Merged next = std::move(merged_.front());
    merged_.pop_front();
    ++mergedTaken_;
    return next;
}

void InputReader::giveBack(Buffer buffer) {
    {
        std::lock_guard lock(mutex_);
        spareBuffers_.push_back(std::move(buffer));
        if (buffersOut_ > 0) {
            --buffersOut_;
        }
    }
    changed_.notify_all();
}

} // namespace keel
