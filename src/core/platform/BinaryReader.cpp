#include "core/platform/BinaryReader.h"

#include "core/platform/Cp932.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>

namespace varnolt {

namespace {

constexpr size_t kBufferSize = 1 << 16;

} // namespace

BinaryReader::BinaryReader(std::span<const uint8_t> bytes)
    : data_(bytes.data()), available_(bytes.size()), remaining_(bytes.size()) {
}

BinaryReader::BinaryReader(const std::filesystem::path& path) {
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ == nullptr) {
        error_ = FileErrorFromErrno(errno, false);
        return;
    }
    std::error_code sizeError;
    const auto size = std::filesystem::file_size(path, sizeError);
    if (sizeError) {
        fail(FileError::ReadFault);
        return;
    }
    remaining_ = size;
    buffer_.resize(kBufferSize);
}

BinaryReader::~BinaryReader() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

void BinaryReader::fail(FileError error) {
    if (error_ == FileError::None) {
        error_ = error;
    }
    available_ = 0;
    remaining_ = 0;
}

bool BinaryReader::fill(void* destination, size_t count) {
    if (!ok()) {
        return false;
    }
    if (count > remaining_) {
        fail(FileError::EndOfFile);
        return false;
    }
    auto* out = static_cast<uint8_t*>(destination);
    while (count > 0) {
        if (available_ == 0 && file_ != nullptr && count >= buffer_.size()) {
            // A read of a buffer or more goes straight to its destination: one copy fewer.
            const size_t want = count - count % buffer_.size();
            const size_t got = std::fread(out, 1, want, file_);
            out += got;
            remaining_ -= got;
            count -= got;
            if (got < want) {
                fail(std::ferror(file_) != 0 ? FileError::ReadFault : FileError::EndOfFile);
                return false;
            }
            continue;
        }
        if (available_ == 0) {
            if (file_ == nullptr) {
                fail(FileError::EndOfFile);
                return false;
            }
            const size_t got = std::fread(buffer_.data(), 1, buffer_.size(), file_);
            if (got == 0) {
                fail(std::ferror(file_) != 0 ? FileError::ReadFault : FileError::EndOfFile);
                return false;
            }
            data_ = buffer_.data();
            available_ = got;
        }
        const size_t step = std::min(count, available_);
        std::memcpy(out, data_, step);
        out += step;
        data_ += step;
        available_ -= step;
        remaining_ -= step;
        count -= step;
    }
    return true;
}

bool BinaryReader::readBytes(void* destination, size_t count) {
    return fill(destination, count);
}

bool BinaryReader::skip(uint64_t count) {
    uint8_t scratch[512];
    while (count > 0) {
        const auto step = static_cast<size_t>(std::min<uint64_t>(count, sizeof scratch));
        if (!fill(scratch, step)) {
            return false;
        }
        count -= step;
    }
    return true;
}

bool BinaryReader::readU8(uint8_t& value) {
    value = 0;
    return fill(&value, 1);
}

bool BinaryReader::readU16(uint16_t& value) {
    uint8_t bytes[2] = {};
    const bool done = fill(bytes, 2);
    value = static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
    return done;
}

bool BinaryReader::readU32(uint32_t& value) {
    uint8_t bytes[4] = {};
    const bool done = fill(bytes, 4);
    value = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
            static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
    return done;
}

bool BinaryReader::readI8(int8_t& value) {
    uint8_t raw = 0;
    const bool done = readU8(raw);
    value = static_cast<int8_t>(raw);
    return done;
}

bool BinaryReader::readI16(int16_t& value) {
    uint16_t raw = 0;
    const bool done = readU16(raw);
    value = static_cast<int16_t>(raw);
    return done;
}

bool BinaryReader::readI32(int32_t& value) {
    uint32_t raw = 0;
    const bool done = readU32(raw);
    value = static_cast<int32_t>(raw);
    return done;
}

size_t BinaryReader::readU32Words(uint32_t* destination, size_t count) {
    static_assert(std::endian::native == std::endian::little, "words are copied as stored");
    size_t done = 0;
    while (done < count && ok()) {
        // Whole words only, so a file that ends inside a word reads the words before it.
        const size_t whole = static_cast<size_t>(std::min<uint64_t>(remaining_ / 4, count - done));
        if (whole == 0) {
            fail(FileError::EndOfFile);
            break;
        }
        const size_t step = std::min<size_t>(whole, kBufferSize / 4);
        if (!fill(destination + done, step * 4)) {
            break;
        }
        done += step;
    }
    return done;
}

bool BinaryReader::readLength(uint32_t& length) {
    uint8_t shortLength = 0;
    if (!readU8(shortLength)) {
        return false;
    }
    if (shortLength < 0xFF) {
        length = shortLength;
        return true;
    }
    uint16_t wordLength = 0;
    if (!readU16(wordLength)) {
        return false;
    }
    if (wordLength < 0xFFFE) {
        length = wordLength;
        return true;
    }
    if (wordLength == 0xFFFF) {
        return readU32(length);
    }
    length = 0xFFFFFFFEu; // marks a UTF-16 string for readArchiveString
    return true;
}

bool BinaryReader::readArchiveString(std::string& text) {
    text.clear();
    uint32_t length = 0;
    if (!readLength(length)) {
        return false;
    }
    if (length == 0xFFFFFFFEu) {
        uint32_t characters = 0;
        if (!readLength(characters) || characters == 0xFFFFFFFEu) {
            if (ok()) {
                fail(FileError::ReadFault);
            }
            return false;
        }
        if (uint64_t{characters} * 2 > remaining_) {
            fail(FileError::EndOfFile);
            return false;
        }
        std::u16string wide(characters, u'\0');
        if (!fill(wide.data(), wide.size() * 2)) {
            return false;
        }
        text = Utf16ToCp932(wide);
        return true;
    }
    if (length > remaining_) {
        fail(FileError::EndOfFile);
        return false;
    }
    text.resize(length);
    return fill(text.data(), length);
}

} // namespace varnolt
