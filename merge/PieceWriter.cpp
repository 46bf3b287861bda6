// SPDX-License-Identifier: MIT
#include "merge/PieceWriter.h"

#include <system_error>

namespace keel {

PieceWriter::PieceWriter(const ContentSink& sink, std::size_t pieceSize)
    : sink_(sink), pieceSize_(pieceSize), memory_(pieces * pieceSize) {
    for (std::size_t i = 0; i < pieces; ++i) {
        free_.push_back(memory_.data() + i * pieceSize_);
    }
    try {
        thread_ = std::thread([this] { writeAll(); });
    } catch (const std::system_error&) {
        // Each piece is then written by hand().
    }
}

PieceWriter::~PieceWriter() {
    {
        std::lock_guard lock(mutex_);
        finished_ = true;
        failed_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

Byte* PieceWriter::piece() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return failed_ || !free_.empty(); });
    if (failed_) {
        return nullptr;
    }
    current_ = free_.front();
    free_.pop_front();
    return current_;
}

void PieceWriter::hand(std::size_t size) {
    std::unique_lock lock(mutex_);
    Byte* const bytes = std::exchange(current_, nullptr);
    if (failed_) {
        free_.push_back(bytes);
        return;
    }
    if (!thread_.joinable()) {
        lock.unlock();
        const bool written = sink_(ConstByteSpan(bytes, size));
        lock.lock();
        failed_ = !written;
        free_.push_back(bytes);
        return;
    }
    filled_.push_back({bytes, size});
    changed_.notify_all();
}

bool PieceWriter::finish() {
    {
        std::lock_guard lock(mutex_);
        finished_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
    std::lock_guard lock(mutex_);
    if (thrown_) {
        std::rethrow_exception(std::exchange(thrown_, nullptr));
    }
    return !failed_;
}

void PieceWriter::writeAll() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return finished_ || !filled_.empty(); });
        if (filled_.empty()) {
            return; // finished, and all written
        }
        const Filled next = filled_.front();
        filled_.pop_front();
        bool written = false;
        if (!failed_) {
            lock.unlock();
            try {
                written = sink_(ConstByteSpan(next.bytes, next.size));
            } catch (...) {
                lock.lock();
                thrown_ = std::current_exception();
                lock.unlock();
            }
            lock.lock();
        }
        failed_ = failed_ || !written;
        free_.push_back(next.bytes);
        changed_.notify_all();
    }
}

} // namespace keel
