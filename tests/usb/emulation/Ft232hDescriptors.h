#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace varnolt::testing {

// What an FT232H tells the host about itself: FTDI's vendor and product numbers, the texts its
// EEPROM was programmed with, and one interface with two 512-byte bulk endpoints.
struct Ft232hIdentity {
    std::string manufacturer = "Tavrix";
    std::string product = "Tavrix USB Device 232H";
    std::string serial = "TVX00001";
};

inline constexpr uint16_t kFtdiVendorId = 0x0403;
inline constexpr uint16_t kFt232hProductId = 0x6014;
inline constexpr uint8_t kBulkInEndpoint = 0x81;
inline constexpr uint8_t kBulkOutEndpoint = 0x02;
inline constexpr uint16_t kBulkPacketBytes = 512;

// The device descriptor followed by the configuration with its interface and endpoints, as
// the kernel offers them in sysfs ("descriptors").
[[nodiscard]] std::vector<uint8_t> Ft232hDescriptors();

// String descriptor INDEX (0: the language list; 1 manufacturer, 2 product, 3 serial) in
// USB's UTF-16LE form; empty for an index the device does not have.
[[nodiscard]] std::vector<uint8_t> Ft232hString(const Ft232hIdentity& identity, uint8_t index);

} // namespace varnolt::testing
