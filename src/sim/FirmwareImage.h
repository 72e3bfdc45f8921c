#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace varnolt::sim {

// Appends one firmware-file record: the length byte that gives TEXTLENGTH characters, the
// three characters of HEAD, and the data bytes that text needs (DATA, cut or padded with 0).
void AppendFirmwareRecord(std::vector<uint8_t>& file, std::string_view head,
                          std::span<const uint8_t> data, int32_t textLength);

// What a firmware file for the virtual analyzer holds.
struct FirmwareImageLayout {
    std::array<uint8_t, 3> version{0x10, 0x03, 0x00}; // read back as "100300"
    int32_t headerRecords = 3; // sent one per line before the "MK" record ("VER" among them)
    int32_t dataRecords = 57;  // sent in batches after it
    bool withMark = true;
    uint32_t seed = 1;
};

// A firmware file as the virtual analyzer's loader takes it: the version record; a "VER" record
// carrying the version as six hex digits (the version the analyzer reports after the update)
// and further header records; the "MK" record; data records of 41 characters, the last one of
// 42 (an even length, whose last data byte travels as its high digit only).
[[nodiscard]] std::vector<uint8_t> BuildFirmwareImage(const FirmwareImageLayout& layout = {});

} // namespace varnolt::sim
