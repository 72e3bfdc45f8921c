#pragma once

#include "core/platform/FileError.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace varnolt {

// Where the export's bytes go.
class ExportSink {
public:
    ExportSink() = default;
    ExportSink(const ExportSink&) = delete;
    ExportSink& operator=(const ExportSink&) = delete;
    virtual ~ExportSink() = default;

    virtual void Write(std::string_view bytes) = 0;
};

// Collects the bytes in memory.
class StringExportSink final : public ExportSink {
public:
    void Write(std::string_view bytes) override { text_.append(bytes); }
    [[nodiscard]] const std::string& text() const { return text_; }

private:
    std::string text_;
};

// Writes a file through one large buffer. The first failure is kept; later writes do nothing.
class FileExportSink final : public ExportSink {
public:
    explicit FileExportSink(const std::filesystem::path& path);
    ~FileExportSink() override;

    void Write(std::string_view bytes) override;
    // Writes what is buffered and closes the file; the first failure of the whole run.
    [[nodiscard]] FileError Close();
    [[nodiscard]] FileError error() const { return error_; }

private:
    void Drain();

    static constexpr size_t kBufferSize = size_t{4} << 20;

    std::FILE* file_ = nullptr;
    std::string buffer_;
    FileError error_ = FileError::None;
};

} // namespace varnolt
