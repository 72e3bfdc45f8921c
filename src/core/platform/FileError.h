#pragma once

#include <filesystem>
#include <string>

namespace varnolt {

// Why reading or writing a file failed; the user sees FileErrorMessage of it.
enum class FileError {
    None,
    NotFound,
    AccessDenied,
    EndOfFile, // the file ended before everything was read
    ReadFault,
    WriteFault,
    DiskFull,
    OpenFailed,
};

// The file error for an errno value of a failed open, read or write.
[[nodiscard]] FileError FileErrorFromErrno(int error, bool writing);

// The message that reports ERROR on PATH to the user (UTF-8, names the file).
[[nodiscard]] std::string FileErrorMessage(FileError error, const std::filesystem::path& path);

// PATH as UTF-8 text for messages.
[[nodiscard]] std::string PathText(const std::filesystem::path& path);

} // namespace varnolt
