// SPDX-License-Identifier: MIT
#include "common/FileIo.h"

#include "common/FileWriteCalls.h"
#include "common/PageProvision.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <new>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace keel {
namespace {

std::string systemReason(int error) { return std::strerror(error); }

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now and reports whether the close succeeded, since a failed close can mean that
    // written data did not reach the file.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return fileWriteCalls().close(fd) == 0;
    }

private:
    int fd_;
};

const char* const tooLargeReason = "it is larger than this machine's memory can hold";

// The most a file read into memory may hold: no more than the machine's memory, nor than a
// byte vector can take.
std::uintmax_t readableSize() {
    std::uintmax_t limit = std::min<std::uintmax_t>(
        ByteVector().max_size(),
        static_cast<std::uintmax_t>(std::numeric_limits<std::ptrdiff_t>::max()));
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages > 0 && pageSize > 0 &&
        static_cast<std::uintmax_t>(pages) <= limit / static_cast<std::uintmax_t>(pageSize)) {
        limit = static_cast<std::uintmax_t>(pages) * static_cast<std::uintmax_t>(pageSize);
    }
    return limit;
}

std::string notRegularReason(mode_t mode) {
    return S_ISDIR(mode) ? "it is a directory" : "it is not a regular file";
}

struct OpenedFile {
    FileDescriptor fd{-1};
    int error = 0;      // the open's errno, when it was the open that failed
    std::string reason; // why there is no descriptor
    struct stat info {};
};

// Opens a regular file, and only a regular file. O_NONBLOCK keeps a named pipe from holding
// the open until a writer or reader comes; it is cleared again once the file is known to be
// regular.
OpenedFile openRegularFile(const std::filesystem::path& path, int access) {
    OpenedFile opened;
    FileDescriptor fd(::open(path.c_str(), access | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd.valid() || ::fstat(fd.get(), &opened.info) != 0) {
        opened.error = errno;
        opened.reason = systemReason(opened.error);
        return opened;
    }
    if (!S_ISREG(opened.info.st_mode)) {
        opened.reason = notRegularReason(opened.info.st_mode);
        return opened;
    }
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
        opened.reason = systemReason(errno);
        return opened;
    }
    opened.fd = std::move(fd);
    return opened;
}

bool writeAll(int fd, ConstByteSpan bytes) {
    while (!bytes.empty()) {
        const ssize_t written = fileWriteCalls().write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (written == 0) {
            errno = EIO;
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

// The file a path finally names: links are followed so that replacing it replaces their
// target rather than turning the link into a file.
std::filesystem::path resolvedTarget(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::is_symlink(path, error)) {
        auto target = std::filesystem::weakly_canonical(path, error);
        if (!error) {
            return target;
        }
    }
    return path;
}

// Makes the rename that put a file in place last through a crash. Gives the errno of the
// failure, or 0.
int syncDirectory(const std::filesystem::path& directory) {
    FileDescriptor fd(::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid()) {
        return errno;
    }
    return fileWriteCalls().syncDirectory(fd.get()) == 0 ? 0 : errno;
}

// Hands the content to a sink that writes it to `fd`; on failure `error` holds the errno of
// the write that failed. Every few megabytes written are handed to the disk at once, so that
// the flush at the end has less left to wait for; that only starts the writing early, the
// flush still makes sure of it.
bool writeContent(int fd, const ContentSource& content, int& error) {
    constexpr std::size_t startWritingEvery = 4 << 20;
    off_t written = 0;
    off_t handedToDisk = 0;
    error = 0;
    const bool complete = content([&](ConstByteSpan piece) {
        while (!piece.empty()) {
            const ConstByteSpan part = piece.first(std::min(piece.size(), startWritingEvery));
            if (!writeAll(fd, part)) {
                error = errno;
                return false;
            }
            piece = piece.subspan(part.size());
            written += static_cast<off_t>(part.size());
            if (written - handedToDisk >= static_cast<off_t>(startWritingEvery)) {
                ::sync_file_range(fd, handedToDisk, written - handedToDisk, SYNC_FILE_RANGE_WRITE);
                handedToDisk = written;
            }
        }
        return true;
    });
    if (!complete && error == 0) {
        error = EIO;
    }
    return complete;
}

// Reads the whole of an opened file of `size` bytes from its start.
bool readFromStart(int fd, std::size_t size, ByteVector& bytes) {
    bytes.resize(size);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::pread(fd, bytes.data() + done, size - done, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(got);
    }
    return true;
}

// Writes `bytes` over an opened file from its start, cuts it to their length and flushes it.
bool writeOverFrom(int fd, ConstByteSpan bytes, int& error) {
    if (::lseek(fd, 0, SEEK_SET) != 0 || !writeAll(fd, bytes) ||
        fileWriteCalls().truncate(fd, static_cast<off_t>(bytes.size())) != 0 ||
        fileWriteCalls().syncFile(fd) != 0) {
        error = errno;
        return false;
    }
    return true;
}

// Writes over an existing file from its start and cuts it to the new length. Used only where
// no temporary file can be made beside it. What the file held is read first, so that a write
// that fails on the way puts it back: the blocks it held are the file's already, so even a
// full disk lets them be written again.
WriteResult overwriteInPlace(const std::filesystem::path& target, const ContentSource& content) {
    OpenedFile file = openRegularFile(target, O_RDWR);
    if (!file.fd.valid()) {
        return {WriteStatus::CannotCreate, file.reason};
    }
    ByteVector earlier;
    if (!readFromStart(file.fd.get(), static_cast<std::size_t>(file.info.st_size), earlier)) {
        return {WriteStatus::CannotCreate, systemReason(errno == 0 ? EIO : errno)};
    }
    int error = 0;
    bool written = writeContent(file.fd.get(), content, error);
    if (written) {
        const off_t length = ::lseek(file.fd.get(), 0, SEEK_CUR);
        written = length >= 0 && fileWriteCalls().truncate(file.fd.get(), length) == 0 &&
                  fileWriteCalls().syncFile(file.fd.get()) == 0;
        if (!written) {
            error = errno;
        }
    }
    if (!written) {
        int restoreError = 0;
        const bool restored = writeOverFrom(file.fd.get(), earlier, restoreError);
        return {WriteStatus::WriteFailed,
                systemReason(error) +
                    (restored ? "; the file was given back what it held"
                              : "; the file could not be given back what it held (" +
                                    systemReason(restoreError) + ") and may be damaged")};
    }
    if (!file.fd.close()) {
        return {WriteStatus::WriteFailed, systemReason(errno)};
    }
    return {};
}

} // namespace

ReadIntoResult readWholeFileInto(const std::filesystem::path& path, const ReadRoom& room,
                                 const ReadProgress& progress) {
    ReadIntoResult result;
    const OpenedFile file = openRegularFile(path, O_RDONLY);
    if (!file.fd.valid()) {
        result.status = file.error == ENOENT ? ReadStatus::Missing : ReadStatus::CannotOpen;
        result.reason = file.reason;
        return result;
    }
    auto failed = [&](ReadStatus status, std::string reason) {
        result.status = status;
        result.size = 0;
        result.reason = std::move(reason);
        return result;
    };
    const std::uintmax_t limit = readableSize();
    // A sparse file can claim far more than it holds on disk: it is refused before any of it is
    // read.
    if (static_cast<std::uintmax_t>(file.info.st_size) > limit) {
        return failed(ReadStatus::CannotOpen, tooLargeReason);
    }
    try {
        std::size_t size = static_cast<std::size_t>(file.info.st_size);
        Byte* bytes = room(size);
        std::size_t have = 0;
        for (;;) {
            // Once the room is full, a small piece tells whether the file has grown since it was
            // measured, without asking for more room for a file that has not.
            Byte chunk[1 << 12];
            const bool probing = have == size;
            Byte* const into = probing ? chunk : bytes + have;
            std::size_t wanted = probing ? sizeof chunk : size - have;
            if (progress) {
                wanted = std::min(wanted, readPieceSize);
            }
            const ssize_t got = ::read(file.fd.get(), into, wanted);
            if (got < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return failed(ReadStatus::ReadFailed, systemReason(errno));
            }
            if (got == 0) {
                break;
            }
            const auto count = static_cast<std::size_t>(got);
            if (probing) {
                if (count > limit - have) {
                    return failed(ReadStatus::ReadFailed, tooLargeReason);
                }
                // Room for what the probe found and for more of the same, within the limit.
                const std::uintmax_t more = std::min<std::uintmax_t>(
                    std::max<std::size_t>(1 << 16, have / 4), limit - have - count);
                size = have + count + static_cast<std::size_t>(more);
                bytes = room(size);
                std::memcpy(bytes + have, chunk, count);
            }
            have += count;
            if (progress) {
                progress(have);
            }
        }
        if (have < size) {
            room(have);
        }
        result.size = have;
    } catch (const std::bad_alloc&) {
        return failed(ReadStatus::ReadFailed, "there is not enough memory to hold it");
    }
    result.status = ReadStatus::Ok;
    return result;
}

ReadResult readWholeFile(const std::filesystem::path& path, std::size_t spareCapacity) {
    ReadResult result;
    bool sized = false;
    const ReadIntoResult read = readWholeFileInto(path, [&](std::size_t size) {
        if (!sized) {
            sized = true;
            if (spareCapacity <= readableSize() - size) {
                try {
                    result.bytes.reserve(size + spareCapacity);
                } catch (const std::bad_alloc&) {
                    // The spare room was only asked for; the file itself may still fit.
                }
            }
            result.bytes.reserve(size);
            // The pages the file goes into are provided in one call, not faulted in one by one,
            // and in huge pages where the file is large.
            Byte* const start = result.bytes.data();
            if (result.bytes.capacity() >= hugePageWorthy) {
                preferHugePages(start, start + result.bytes.capacity());
            }
            providePagesAcrossProcessors(start, start + result.bytes.capacity());
        }
        result.bytes.resize(size);
        return result.bytes.data();
    });
    result.status = read.status;
    result.reason = read.reason;
    if (!read.ok()) {
        result.bytes = ByteVector();
    }
    return result;
}

WriteResult replaceFileAtomically(const std::filesystem::path& path, ConstByteSpan bytes) {
    return replaceFileAtomicallyFrom(path,
                                     [bytes](const ContentSink& write) { return write(bytes); });
}

WriteResult replaceFileAtomicallyFrom(const std::filesystem::path& path,
                                      const ContentSource& content) {
    const std::filesystem::path target = resolvedTarget(path);
    const std::filesystem::path directory = target.parent_path();

    // Renaming needs only the directory's permission, so the file's own is asked first.
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists) {
        if (!S_ISREG(existing.st_mode)) {
            return {WriteStatus::CannotCreate, notRegularReason(existing.st_mode)};
        }
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
            return {WriteStatus::CannotCreate, systemReason(errno)};
        }
    }

    std::string pattern =
        (directory / ("." + target.filename().string() + ".saving-XXXXXX")).string();
    FileDescriptor fd(fileWriteCalls().makeTemporary(pattern.data()));
    if (!fd.valid()) {
        const int error = errno;
        if (exists && (error == EACCES || error == EPERM)) {
            return overwriteInPlace(target, content);
        }
        return {WriteStatus::CannotCreate, systemReason(error)};
    }
    const std::string temporary = pattern;
    auto fail = [&](int error) {
        ::unlink(temporary.c_str());
        return WriteResult{WriteStatus::WriteFailed, systemReason(error)};
    };

    mode_t mode = 0;
    if (exists) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (fileWriteCalls().changeMode(fd.get(), mode) != 0) {
        return fail(errno);
    }
    int error = 0;
    if (!writeContent(fd.get(), content, error)) {
        return fail(error);
    }
    if (fileWriteCalls().syncFile(fd.get()) != 0) {
        return fail(errno);
    }
    if (!fd.close()) {
        return fail(errno);
    }
    if (fileWriteCalls().rename(temporary.c_str(), target.c_str()) != 0) {
        return fail(errno);
    }
    // The new content is in place, but a crash could still undo the rename: that is told, so
    // that the work is not counted as safely saved.
    if (const int error = syncDirectory(directory); error != 0) {
        return {WriteStatus::WriteFailed,
                "the new content is in place, but its directory could not be flushed to disk: " +
                    systemReason(error)};
    }
    return {};
}

std::string writeFailureMessage(const WriteResult& result, const std::filesystem::path& file) {
    switch (result.status) {
    case WriteStatus::Ok:
        return {};
    case WriteStatus::CannotCreate:
        return "Cannot create file " + file.string();
    case WriteStatus::WriteFailed:
        break;
    }
    return "Stream write error";
}

} // namespace keel
