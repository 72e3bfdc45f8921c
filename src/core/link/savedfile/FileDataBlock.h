#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace varnolt {

// A stored-file data answer: "FD", the data bytes (16-bit words, most significant byte first),
// one check byte, the terminator.
struct FileDataBlock {
    std::span<const uint8_t> data;
    uint8_t check = 0;
    // The check byte is the complement of the low eight bits of the sum of the data bytes.
    bool intact = false;

    // Words the data fills: with an odd number of bytes the last word takes the check byte as
    // its low byte.
    [[nodiscard]] size_t wordCount() const { return (data.size() + 1) / 2; }
};

// Splits a complete "FD" ANSWER (terminator included) into data and check byte; an answer too
// short to hold a check byte is not intact. Reads nothing past ANSWER.
[[nodiscard]] FileDataBlock InspectFileDataBlock(std::span<const uint8_t> answer);

// Writes BLOCK's words to DESTINATION, which must hold BLOCK.wordCount() words.
void UnpackFileDataBlock(const FileDataBlock& block, std::span<uint16_t> destination);

} // namespace varnolt
