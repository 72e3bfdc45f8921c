#pragma once

#include "core/link/port/D2xxApi.h"

namespace varnolt {

// The bridge calls on libftdi1 (libusb underneath), for systems without FTDI's own library.
// Handles are libftdi contexts on the FT232H (vendor 0x0403, product 0x6014); a device is
// opened by its USB description or serial number. libftdi has no receive-queue query, so
// FT_GetQueueStatus reads one in-transfer (waiting at most the read time-out) into the
// handle's own buffer and reports its size; FT_Read hands out that buffer first. Reads and
// writes move one transfer at a time and count what libusb says it carried, so a time-out
// loses and repeats nothing; an unplugged bridge answers kFtDeviceNotFound.
class LibFtdiApi final : public D2xxApi {
public:
    static constexpr int kVendorId = 0x0403;
    static constexpr int kProductId = 0x6014;

    // Whether this build carries the libftdi1 backend (libftdi1 was found when it was built).
    [[nodiscard]] static constexpr bool available() {
#ifdef VARNOLT_HAVE_LIBFTDI
        return true;
#else
        return false;
#endif
    }

    [[nodiscard]] D2xxEntryPoints load(UserPrompt& prompt) override;
};

} // namespace varnolt
