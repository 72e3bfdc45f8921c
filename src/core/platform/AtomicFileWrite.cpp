#include "core/platform/AtomicFileWrite.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <system_error>
#include <unistd.h>

namespace varnolt {

namespace {

// The file a symbolic link TARGET points to; TARGET itself otherwise.
std::filesystem::path ResolvedTarget(const std::filesystem::path& target) {
    std::error_code error;
    if (!std::filesystem::is_symlink(target, error)) {
        return target;
    }
    const std::filesystem::path pointee = std::filesystem::read_symlink(target, error);
    if (error) {
        return target;
    }
    return pointee.is_absolute() ? pointee : target.parent_path() / pointee;
}

// Creates an empty file of a name nobody uses beside TARGET ("." NAME "." NUMBER ".part"),
// with the permissions a new file gets; errno when none can be created.
std::filesystem::path CreateTemporaryBeside(const std::filesystem::path& target, int& failure) {
    static std::atomic<unsigned> serial{0};
    const std::u8string name = target.filename().u8string();
    const std::string stamp = std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::string number = stamp + std::to_string(serial.fetch_add(1));
        std::u8string candidate = u8"." + name + u8".";
        candidate.append(number.begin(), number.end());
        candidate += u8".part";
        std::filesystem::path temporary = target.parent_path() / candidate;
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return temporary;
        }
        if (errno != EEXIST) {
            failure = errno;
            return {};
        }
    }
    failure = EEXIST;
    return {};
}

// Puts what was written to PATH on the disk, so that the rename cannot outrun the contents.
bool SyncToDisk(const std::filesystem::path& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

} // namespace

FileError WriteFileAtomically(const std::filesystem::path& target,
                              const FileContentsWriter& write) {
    const std::filesystem::path file = ResolvedTarget(target);
    std::error_code error;
    const std::filesystem::file_status existing = std::filesystem::status(file, error);
    const bool exists = std::filesystem::exists(existing);
    if (std::filesystem::is_directory(existing) || (exists && ::access(file.c_str(), W_OK) != 0)) {
        return FileError::AccessDenied;
    }
    int failure = 0;
    const std::filesystem::path temporary = CreateTemporaryBeside(file, failure);
    if (temporary.empty()) {
        return FileErrorFromErrno(failure, true);
    }
    const auto discard = [&temporary](FileError result) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return result;
    };
    if (const FileError written = write(temporary); written != FileError::None) {
        return discard(written);
    }
    if (!SyncToDisk(temporary, O_RDONLY)) {
        return discard(FileErrorFromErrno(errno, true));
    }
    if (exists) {
        std::filesystem::permissions(temporary, existing.permissions(), error);
    }
    if (::rename(temporary.c_str(), file.c_str()) != 0) {
        return discard(FileErrorFromErrno(errno, true));
    }
    // The new name itself lives in the folder; a folder that cannot be synced still holds it.
    const std::filesystem::path folder = file.parent_path().empty() ? "." : file.parent_path();
    SyncToDisk(folder, O_RDONLY | O_DIRECTORY);
    return FileError::None;
}

} // namespace varnolt
