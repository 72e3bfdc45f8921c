#include "sim/FirmwareImage.h"

#include "core/link/firmware/FirmwareFile.h"

#include <algorithm>

namespace varnolt::sim {

namespace {

constexpr int32_t kDataText = 41;

// The length byte whose text length is TEXTLENGTH: c = ((L − 9) / 2) − 7.
uint8_t LengthByteFor(int32_t textLength) {
    return static_cast<uint8_t>(2 * (textLength + 7) + 9);
}

} // namespace

void AppendFirmwareRecord(std::vector<uint8_t>& file, std::string_view head,
                          std::span<const uint8_t> data, int32_t textLength) {
    file.push_back(LengthByteFor(textLength));
    for (size_t k = 0; k < 3; ++k) {
        file.push_back(k < head.size() ? static_cast<uint8_t>(head[k]) : uint8_t{' '});
    }
    const auto needed = static_cast<size_t>(std::max(RecordDataBytes(textLength), 0));
    for (size_t k = 0; k < needed; ++k) {
        file.push_back(k < data.size() ? data[k] : uint8_t{0});
    }
}

std::vector<uint8_t> BuildFirmwareImage(const FirmwareImageLayout& layout) {
    std::vector<uint8_t> file;
    file.push_back(LengthByteFor(kMinRecordText));
    for (const uint8_t byte : layout.version) {
        file.push_back(byte);
    }

    AppendFirmwareRecord(file, "VER", layout.version, 9);
    uint32_t state = layout.seed * 2'654'435'761U + 1;
    std::vector<uint8_t> data(32);
    const auto fill = [&] {
        for (uint8_t& byte : data) {
            state = state * 1'103'515'245U + 12'345U;
            byte = static_cast<uint8_t>(state >> 16);
        }
    };
    for (int32_t k = 1; k < layout.headerRecords; ++k) {
        fill();
        AppendFirmwareRecord(file, "HDR", data, 19);
    }
    if (layout.withMark) {
        AppendFirmwareRecord(file, "#MK", {}, kMinRecordText);
    }
    for (int32_t k = 0; k < layout.dataRecords; ++k) {
        fill();
        AppendFirmwareRecord(file, "DAT", data,
                             k + 1 == layout.dataRecords ? kDataText + 1 : kDataText);
    }
    return file;
}

} // namespace varnolt::sim
