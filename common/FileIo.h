#pragma once

#include "common/Bytes.h"

#include <filesystem>
#include <string>

namespace keel {

enum class ReadStatus {
    Ok,
    Missing,    // no file of that name
    CannotOpen, // the file is there but cannot be opened for reading (or is no regular file)
    ReadFailed, // it was opened but could not be read to its end
};

struct ReadResult {
    ReadStatus status = ReadStatus::Missing;
    ByteVector bytes;   // the whole file when status is Ok, empty otherwise
    std::string reason; // the system's description of the failure, empty on success

    bool ok() const { return status == ReadStatus::Ok; }
};

// Reads a whole file into memory in one piece.
ReadResult readWholeFile(const std::filesystem::path& path);

enum class WriteStatus {
    Ok,
    CannotCreate, // no temporary file could be created beside the target
    WriteFailed,  // writing, flushing or renaming failed part-way
};

struct WriteResult {
    WriteStatus status = WriteStatus::Ok;
    std::string reason;

    bool ok() const { return status == WriteStatus::Ok; }
};

// Replaces the file's whole content: the bytes go into a temporary file in the same
// directory, which is flushed to disk and then renamed over the target. Whatever fails, the
// target holds either its old content or the new one, never a part. A target that exists
// keeps its permission bits; a link is followed, so the file it points to is replaced.
WriteResult replaceFileAtomically(const std::filesystem::path& path, ConstByteSpan bytes);

} // namespace keel
