#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace varnolt {

class BinaryWriter;
class UserPrompt;

// A file received from the analyzer, as words: 126 capture-file header words, two unused
// words, then the record data from word 128.
inline constexpr size_t kReceivedHeaderWords = 128;

// The data-format version of a received file: the low four bits of words 0 ... 3 read as the
// decimal digits of thousands, hundreds, tens and ones. -1 when there are fewer than four.
[[nodiscard]] int ReceivedFileVersion(std::span<const uint16_t> words);

// Whether WORDS can be written as a capture file: a whole header of data-format version 2, 3
// or 4, which the capture-file reader reads as the same version (the version characters are
// digits), and record width 0 or 1 (the low four bits of word 16). Anything else is refused
// with the version message and nothing is written.
[[nodiscard]] bool IsReceivableFile(std::span<const uint16_t> words);

// Appends the capture file of WORDS to OUT: the header words taken over unchanged, the records
// built from the data words (width 0: each word in a record's upper half; width 1: each pair
// high, low). False, and nothing written, for words that are not IsReceivableFile.
bool WriteReceivedWords(BinaryWriter& out, std::span<const uint16_t> words);

// Writes WORDS as a capture file at PATH (WriteReceivedWords); words that are not
// IsReceivableFile are refused with the version message. The file is written atomically
// (WriteBinaryFile), so a failed write leaves neither a partial file under PATH nor destroys the
// file PATH named before. A failure is reported through PROMPT and gives false.
bool WriteReceivedCapture(const std::filesystem::path& path, std::span<const uint16_t> words,
                          UserPrompt& prompt);

} // namespace varnolt
