#pragma once

#include "core/platform/FileError.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string_view>
#include <vector>

namespace varnolt {

// Writes a little-endian binary stream with the archive conventions of the program's files,
// to a file through one fixed buffer or to bytes in memory. The first failure sticks; finish()
// flushes and closes and says whether everything reached the file.
class BinaryWriter {
public:
    // Appends to BYTES, which must outlive the writer.
    explicit BinaryWriter(std::vector<uint8_t>& bytes);
    // Creates or truncates PATH; error() is set when it cannot be created.
    explicit BinaryWriter(const std::filesystem::path& path);
    BinaryWriter(const BinaryWriter&) = delete;
    BinaryWriter& operator=(const BinaryWriter&) = delete;
    ~BinaryWriter();

    [[nodiscard]] bool ok() const { return error_ == FileError::None; }
    [[nodiscard]] FileError error() const { return error_; }

    void writeU8(uint8_t value);
    void writeU16(uint16_t value);
    void writeU32(uint32_t value);
    void writeBytes(const void* source, size_t count);
    // An archive string: one length byte below 255, the longer forms beyond.
    void writeArchiveString(std::string_view text);

    // Flushes and closes the file; true when every byte was written.
    bool finish();

private:
    void flush();

    std::FILE* file_ = nullptr;
    std::vector<uint8_t>* memory_ = nullptr;
    std::vector<uint8_t> buffer_;
    size_t used_ = 0;
    FileError error_ = FileError::None;
};

// Writes the file at PATH through a BinaryWriter that CONTENTS fills, replacing PATH only once
// everything was written (WriteFileAtomically): a failure leaves PATH as it was.
[[nodiscard]] FileError WriteBinaryFile(const std::filesystem::path& path,
                                        const std::function<void(BinaryWriter&)>& contents);

} // namespace varnolt
