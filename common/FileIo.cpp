#include "common/FileIo.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace keel {
namespace {

std::string systemReason(int error) { return std::strerror(error); }

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
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
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool writeAll(int fd, ConstByteSpan bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
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

void syncDirectory(const std::filesystem::path& directory) {
    FileDescriptor fd(::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY));
    if (fd.valid()) {
        ::fsync(fd.get());
    }
}

} // namespace

ReadResult readWholeFile(const std::filesystem::path& path) {
    ReadResult result;
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) {
        result.status = errno == ENOENT ? ReadStatus::Missing : ReadStatus::CannotOpen;
        result.reason = systemReason(errno);
        return result;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        result.status = ReadStatus::CannotOpen;
        result.reason = S_ISDIR(info.st_mode) ? "it is a directory" : "it is not a regular file";
        return result;
    }
    ByteVector bytes;
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    Byte chunk[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd.get(), chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            result.status = ReadStatus::ReadFailed;
            result.reason = systemReason(errno);
            return result;
        }
        if (got == 0) {
            break;
        }
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    result.status = ReadStatus::Ok;
    result.bytes = std::move(bytes);
    return result;
}

WriteResult replaceFileAtomically(const std::filesystem::path& path, ConstByteSpan bytes) {
    const std::filesystem::path target = resolvedTarget(path);
    const std::filesystem::path directory = target.parent_path();
    std::string pattern =
        (directory / ("." + target.filename().string() + ".saving-XXXXXX")).string();

    FileDescriptor fd(::mkstemp(pattern.data()));
    if (!fd.valid()) {
        return {WriteStatus::CannotCreate, systemReason(errno)};
    }
    const std::string temporary = pattern;
    auto fail = [&](int error) {
        ::unlink(temporary.c_str());
        return WriteResult{WriteStatus::WriteFailed, systemReason(error)};
    };

    struct stat existing {};
    mode_t mode = 0;
    if (::stat(target.c_str(), &existing) == 0) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd.get(), mode) != 0) {
        return fail(errno);
    }
    if (!writeAll(fd.get(), bytes) || ::fsync(fd.get()) != 0) {
        return fail(errno);
    }
    if (!fd.close()) {
        return fail(errno);
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        return fail(errno);
    }
    syncDirectory(directory);
    return {};
}

} // namespace keel
