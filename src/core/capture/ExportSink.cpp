#include "core/capture/ExportSink.h"

#include <cerrno>

namespace varnolt {

FileExportSink::FileExportSink(const std::filesystem::path& path)
    : file_(std::fopen(path.c_str(), "wb")) {
    if (file_ == nullptr) {
        error_ = FileErrorFromErrno(errno, true);
        return;
    }
    // The buffer below is the only one.
    std::setvbuf(file_, nullptr, _IONBF, 0);
    buffer_.reserve(kBufferSize);
}

FileExportSink::~FileExportSink() {
    (void)Close();
}

void FileExportSink::Write(std::string_view bytes) {
    if (file_ == nullptr) {
        return;
    }
    if (buffer_.size() + bytes.size() > kBufferSize) {
        Drain();
    }
    buffer_.append(bytes);
}

void FileExportSink::Drain() {
    if (file_ != nullptr && !buffer_.empty() && error_ == FileError::None &&
        std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) {
        error_ = FileErrorFromErrno(errno, true);
    }
    buffer_.clear();
}

FileError FileExportSink::Close() {
    if (file_ == nullptr) {
        return error_;
    }
    Drain();
    if (std::fclose(file_) != 0 && error_ == FileError::None) {
        error_ = FileErrorFromErrno(errno, true);
    }
    file_ = nullptr;
    return error_;
}

} // namespace varnolt
