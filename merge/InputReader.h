// SPDX-License-Identifier: MIT
#pragma once

#include "common/FileIo.h"
#include "merge/LargeBuffer.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace keel {

// Reads the inputs of a merge on a thread of its own, in the order the merge takes them, so
// that the merge works on what has come while the rest is read: first the master, a piece at a
// time, so that its first records can be indexed while the rest of it is still read, then each
// file to merge, whole, into one of two buffers that take turns. Where no thread can be had,
// each input is read when it is asked for.
class InputReader {
public:
    using Buffer = LargeBuffer<Byte>;

    // `spare` asks for room behind the master's bytes in its buffer, as far as memory allows.
    InputReader(std::filesystem::path master, std::size_t spare,
                std::vector<std::filesystem::path> merged);
    InputReader(const InputReader&) = delete;
    InputReader& operator=(const InputReader&) = delete;
    // Reads no further file and waits for the thread.
    ~InputReader();

    // The master as far as it is read: its bytes so far, the size it had when it was opened (0
    // until then) and the room its buffer has.
    struct MasterSoFar {
        ConstByteSpan bytes;
        std::size_t expected = 0;
        std::size_t room = 0;
    };
    // Waits until more than `known` bytes of the master are read or its read is over, then hands
    // what there is to `use`, during which the bytes stay where they are. Returns false once the
    // read is over, and `use` has had the master's last bytes.
    bool awaitMaster(std::size_t known, const std::function<void(const MasterSoFar&)>& use);
    // Once awaitMaster has returned false: how the master's read went, and its buffer.
    ReadIntoResult masterRead() const;
    Buffer takeMaster() { return std::move(master_); }

    // The next file to merge, in order, once it is read: how the read went and its bytes. Its
    // buffer goes back with giveBack once its bytes are used, for a later file.
    struct Merged {
        ReadIntoResult read;
        Buffer bytes;
    };
    Merged nextMerged();
    void giveBack(Buffer buffer);

private:
    void readAll();
    ReadIntoResult readMaster(bool inPieces);
    Merged readMerged(const std::filesystem::path& path, Buffer buffer);
    void rethrowFailure();

    const std::filesystem::path masterPath_;
    const std::size_t spare_;
    const std::vector<std::filesystem::path> mergedPaths_;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    // Held while the master's buffer may move, and while its bytes are used.
    std::mutex masterMoving_;
    Buffer master_;
    std::size_t masterArrived_ = 0;
    std::size_t masterExpected_ = 0;
    std::size_t masterRoom_ = 0;
    bool masterOver_ = false;
    ReadIntoResult masterRead_;
    std::deque<Merged> merged_;   // read, not yet taken
    std::size_t mergedTaken_ = 0; // files taken by nextMerged
    std::vector<Buffer> spareBuffers_;
    std::size_t buffersOut_ = 0; // buffers holding a file read or taken, not given back
    bool stopping_ = false;
    std::exception_ptr failure_; // what the thread threw
    std::thread thread_;
};

} // namespace keel
