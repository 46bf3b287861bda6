// SPDX-License-Identifier: MIT
#pragma once

#include "common/FileIo.h"
#include "merge/LargeBuffer.h"

#include <array>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

namespace keel {

// Hands pieces of content to a sink on a thread of its own, so that gathering the next piece
// and writing the last one go on at once. The pieces go to the sink in the order they are
// handed over, one call at a time; once the sink has failed it is called no more. Where no
// thread can be had, each piece is written as it is handed over.
class PieceWriter {
public:
    PieceWriter(const ContentSink& sink, std::size_t pieceSize);
    PieceWriter(const PieceWriter&) = delete;
    PieceWriter& operator=(const PieceWriter&) = delete;
    // Writes nothing more, and waits for the piece being written, if any: without finish, the
    // content is given up (an exception is on its way).
    ~PieceWriter();

    // A piece to fill, of pieceSize bytes; null once the sink has failed.
    Byte* piece();
    // Hands over the piece last given by piece(), filled with `size` bytes.
    void hand(std::size_t size);
    // Waits until every piece handed over is written; whether they all were. Throws what the
    // sink threw.
    bool finish();

private:
    struct Filled {
        Byte* bytes;
        std::size_t size;
    };
    static constexpr std::size_t pieces = 4;

    void writeAll();

    const ContentSink& sink_;
    std::size_t pieceSize_;
    LargeBuffer<Byte> memory_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Filled> filled_; // handed over, not yet written
    std::deque<Byte*> free_;    // written or never used
    Byte* current_ = nullptr;   // given by piece(), not yet handed over
    bool finished_ = false;     // no more pieces come
    bool failed_ = false;       // the sink has failed
    std::exception_ptr thrown_; // what the sink threw on the thread, for finish to throw
    std::thread thread_;
};

} // namespace keel
