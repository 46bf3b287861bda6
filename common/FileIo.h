// SPDX-License-Identifier: MIT
#pragma once

#include "common/Bytes.h"

#include <filesystem>
#include <functional>
#include <string>

namespace keel {

enum class ReadStatus {
    Ok,
    Missing,    // no file of that name
    CannotOpen, // the file is there but cannot be opened for reading, is no regular file, or
                // is larger than this machine's memory
    ReadFailed, // it was opened but could not be read to its end, or there was no memory left
                // to hold it
};

struct ReadResult {
    ReadStatus status = ReadStatus::Missing;
    ByteVector bytes;   // the whole file when status is Ok, empty otherwise
    std::string reason; // the system's description of the failure, empty on success

    bool ok() const { return status == ReadStatus::Ok; }
};

// Reads a whole file into memory in one piece. Only regular files are read (a named pipe is
// refused at once rather than waited on), and only those that fit in memory: a file larger
// than the machine's memory, or one that grows beyond it while it is read, or one there is not
// enough memory left for, is refused rather than ending the program.
//
// `spareCapacity` asks for room for that many more bytes behind the file's in the returned
// buffer, so that a caller who appends to it does not have the whole file copied; it is only a
// hint, dropped where it would not fit in memory.
ReadResult readWholeFile(const std::filesystem::path& path, std::size_t spareCapacity = 0);

// Where readWholeFileInto puts a file. Asked for room for the first `size` bytes of the file,
// it keeps the bytes it holds already and returns where the room begins; it may throw
// std::bad_alloc. It is asked first for the file's size, then for more if the file grows while
// it is read, and last for the number of bytes read, which may be fewer.
using ReadRoom = std::function<Byte*(std::size_t size)>;

struct ReadIntoResult {
    ReadStatus status = ReadStatus::Missing;
    std::size_t size = 0; // the bytes read when status is Ok
    std::string reason;   // the system's description of the failure, empty on success

    bool ok() const { return status == ReadStatus::Ok; }
};

// Told how many bytes of the file have been read so far, after each piece of at most
// readPieceSize bytes, so that the first bytes can be used while the rest are still read.
using ReadProgress = std::function<void(std::size_t bytesRead)>;
inline constexpr std::size_t readPieceSize = std::size_t{1} << 20;

// As readWholeFile, with the bytes read straight into the caller's buffer, which is left with
// whatever it holds when the read fails. With `progress`, the file is read a piece at a time.
ReadIntoResult readWholeFileInto(const std::filesystem::path& path, const ReadRoom& room,
                                 const ReadProgress& progress = {});

enum class WriteStatus {
    Ok,
    CannotCreate, // nothing was written: the target may not be written, is no regular file, or
                  // no file could be created where it goes
    WriteFailed,  // writing, flushing or renaming failed part-way
};

struct WriteResult {
    WriteStatus status = WriteStatus::Ok;
    std::string reason;

    bool ok() const { return status == WriteStatus::Ok; }
};

// What the user is told of a write of `file` that failed: "Cannot create file <path>" when it
// could not be begun, "Stream write error" when it failed on the way. Empty for a write that
// succeeded.
std::string writeFailureMessage(const WriteResult& result, const std::filesystem::path& file);

// Replaces the file's whole content: the bytes go into a temporary file in the same
// directory, which is flushed to disk and then renamed over the target. Whatever fails, the
// target holds either its old content or the new one, never a part, and no temporary file is
// left behind. A target that exists keeps its permission bits; a link is followed, so the file
// it points to is replaced.
//
// A target that exists must be a regular file this process may write (the rename alone would
// let a file be replaced by anyone who may write its directory); otherwise nothing is written
// and the result is CannotCreate. When the directory takes no new file but the target may be
// written, the target is written in place instead: from its start, cut to the new length and
// flushed. What it held is read first and written back when the write fails on the way
// (WriteFailed); only when that too fails, or the final close fails, can it be left damaged,
// and the reason then says so.
WriteResult replaceFileAtomically(const std::filesystem::path& path, ConstByteSpan bytes);

// Takes the next piece of a file's content; returns false when it could not be written.
using ContentSink = std::function<bool(ConstByteSpan)>;
// Hands a file's whole content to the sink in order, in pieces of any size, and returns false
// as soon as the sink does.
using ContentSource = std::function<bool(const ContentSink&)>;

// As replaceFileAtomically, for content that is produced while it is written, so that it never
// has to be held in one piece.
WriteResult replaceFileAtomicallyFrom(const std::filesystem::path& path,
                                      const ContentSource& content);

} // namespace keel
