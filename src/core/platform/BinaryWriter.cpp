#include "core/platform/BinaryWriter.h"

#include "core/platform/AtomicFileWrite.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace varnolt {

namespace {

constexpr size_t kBufferSize = 1 << 16;

} // namespace

BinaryWriter::BinaryWriter(std::vector<uint8_t>& bytes) : memory_(&bytes) {
}

BinaryWriter::BinaryWriter(const std::filesystem::path& path) {
    file_ = std::fopen(path.c_str(), "wb");
    if (file_ == nullptr) {
        error_ = FileErrorFromErrno(errno, true);
        return;
    }
    buffer_.resize(kBufferSize);
}

BinaryWriter::~BinaryWriter() {
    finish();
}

void BinaryWriter::flush() {
    if (file_ == nullptr || used_ == 0) {
        return;
    }
    if (ok() && std::fwrite(buffer_.data(), 1, used_, file_) != used_) {
        error_ = FileErrorFromErrno(errno, true);
    }
    used_ = 0;
}

void BinaryWriter::writeBytes(const void* source, size_t count) {
    if (!ok()) {
        return;
    }
    const auto* in = static_cast<const uint8_t*>(source);
    if (memory_ != nullptr) {
        memory_->insert(memory_->end(), in, in + count);
        return;
    }
    if (file_ == nullptr) {
        return;
    }
    while (count > 0) {
        if (used_ == buffer_.size()) {
            flush();
            if (!ok()) {
                return;
            }
        }
        const size_t step = std::min(count, buffer_.size() - used_);
        std::memcpy(buffer_.data() + used_, in, step);
        used_ += step;
        in += step;
        count -= step;
    }
}

void BinaryWriter::writeU8(uint8_t value) {
    writeBytes(&value, 1);
}

void BinaryWriter::writeU16(uint16_t value) {
    const uint8_t bytes[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
    writeBytes(bytes, 2);
}

void BinaryWriter::writeU32(uint32_t value) {
    const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                              static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    writeBytes(bytes, 4);
}

void BinaryWriter::writeArchiveString(std::string_view text) {
    if (text.size() < 0xFF) {
        writeU8(static_cast<uint8_t>(text.size()));
    } else if (text.size() < 0xFFFE) {
        writeU8(0xFF);
        writeU16(static_cast<uint16_t>(text.size()));
    } else {
        writeU8(0xFF);
        writeU16(0xFFFF);
        writeU32(static_cast<uint32_t>(text.size()));
    }
    writeBytes(text.data(), text.size());
}

bool BinaryWriter::finish() {
    if (file_ != nullptr) {
        flush();
        if (std::fclose(file_) != 0 && ok()) {
            error_ = FileErrorFromErrno(errno, true);
        }
        file_ = nullptr;
    }
    return ok();
}

FileError WriteBinaryFile(const std::filesystem::path& path,
                          const std::function<void(BinaryWriter&)>& contents) {
    return WriteFileAtomically(path, [&contents](const std::filesystem::path& temporary) {
        BinaryWriter out(temporary);
        if (out.ok()) {
            contents(out);
        }
        out.finish();
        return out.error();
    });
}

} // namespace varnolt
