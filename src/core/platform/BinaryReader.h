#pragma once

#include "core/platform/FileError.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace varnolt {

// Reads a little-endian binary stream with the archive conventions of the program's files:
// 16- and 32-bit words and length-prefixed strings. Reads from a file through one fixed
// buffer, or from bytes in memory. The first failure sticks: every later read fails too and
// error() says why, so a reader can read a whole layout and check once.
class BinaryReader {
public:
    // Reads BYTES, which must outlive the reader.
    explicit BinaryReader(std::span<const uint8_t> bytes);
    // Opens PATH; error() is set when it cannot be opened.
    explicit BinaryReader(const std::filesystem::path& path);
    BinaryReader(const BinaryReader&) = delete;
    BinaryReader& operator=(const BinaryReader&) = delete;
    ~BinaryReader();

    [[nodiscard]] bool ok() const { return error_ == FileError::None; }
    [[nodiscard]] FileError error() const { return error_; }
    // Bytes not yet read (what the file holds past the read position).
    [[nodiscard]] uint64_t remaining() const { return remaining_; }

    bool readU8(uint8_t& value);
    bool readU16(uint16_t& value);
    bool readU32(uint32_t& value);
    bool readI8(int8_t& value);
    bool readI16(int16_t& value);
    bool readI32(int32_t& value);
    bool readBytes(void* destination, size_t count);
    // COUNT little-endian 32-bit words; returns how many were read before a failure.
    size_t readU32Words(uint32_t* destination, size_t count);
    bool skip(uint64_t count);

    // An archive string: a length byte below 255; or 0xFF and a 16-bit length; or 0xFF,
    // 0xFFFF and a 32-bit length; or 0xFF, 0xFFFE and a UTF-16 string whose character count
    // follows in one of the three forms, converted to code page 932. A declared length beyond
    // the bytes left ends the read with EndOfFile, without allocating for it.
    bool readArchiveString(std::string& text);

private:
    bool fill(void* destination, size_t count);
    bool readLength(uint32_t& length);
    void fail(FileError error);

    std::FILE* file_ = nullptr;
    std::vector<uint8_t> buffer_;
    const uint8_t* data_ = nullptr; // unread bytes of the current buffer
    size_t available_ = 0;
    uint64_t remaining_ = 0;
    FileError error_ = FileError::None;
};

} // namespace varnolt
