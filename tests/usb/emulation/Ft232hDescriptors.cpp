#include "Ft232hDescriptors.h"

namespace varnolt::testing {

namespace {

constexpr uint8_t kLow(uint16_t value) {
    return static_cast<uint8_t>(value & 0xFF);
}
constexpr uint8_t kHigh(uint16_t value) {
    return static_cast<uint8_t>(value >> 8);
}

} // namespace

std::vector<uint8_t> Ft232hDescriptors() {
    return {// Device: USB 2.0, class in the interface, 64-byte control endpoint, bcdDevice 9.00
            // (what tells host libraries the chip is an FT232H), strings 1 to 3, one configuration.
            18, 1, 0x00, 0x02, 0, 0, 0, 64, kLow(kFtdiVendorId), kHigh(kFtdiVendorId),
            kLow(kFt232hProductId), kHigh(kFt232hProductId), 0x00, 0x09, 1, 2, 3, 1,
            // Configuration 1: 32 bytes in all, one interface, bus powered, 500 mA.
            9, 2, 32, 0, 1, 1, 0, 0x80, 250,
            // Interface 0: two endpoints, vendor specific, product string.
            9, 4, 0, 0, 2, 0xFF, 0xFF, 0xFF, 2,
            // Bulk in and bulk out, 512 bytes each.
            7, 5, kBulkInEndpoint, 2, kLow(kBulkPacketBytes), kHigh(kBulkPacketBytes), 0, 7, 5,
            kBulkOutEndpoint, 2, kLow(kBulkPacketBytes), kHigh(kBulkPacketBytes), 0};
}

std::vector<uint8_t> Ft232hString(const Ft232hIdentity& identity, uint8_t index) {
    if (index == 0) {
        return {4, 3, 0x09, 0x04}; // English (United States)
    }
    const std::string* text = index == 1   ? &identity.manufacturer
                              : index == 2 ? &identity.product
                              : index == 3 ? &identity.serial
                                           : nullptr;
    if (text == nullptr) {
        return {};
    }
    std::vector<uint8_t> descriptor{static_cast<uint8_t>(2 + 2 * text->size()), 3};
    for (const char letter : *text) {
        descriptor.push_back(static_cast<uint8_t>(letter));
        descriptor.push_back(0);
    }
    return descriptor;
}

} // namespace varnolt::testing
