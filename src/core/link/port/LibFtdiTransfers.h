#pragma once

#include "core/link/port/D2xxApi.h"

#include <cstdint>
#include <span>
#include <vector>

struct ftdi_context;

namespace varnolt {

// Bulk transfers on an open libftdi1 context, one libusb transfer per call, counted by what
// libusb says it carried. libftdi1's own read and write loop over several transfers and, when
// one of them times out, report an error and forget what the earlier ones carried; here a
// time-out only means the bridge had less (or nothing) to give or take.

// Reads one in-transfer of RAW's size into RAW and leaves there only the data bytes (the two
// modem-status bytes at the head of each packet removed); GOT is their count.
// kFtDeviceNotFound: the device is gone; kFtIoError: any other failure.
[[nodiscard]] FtStatus ReadOneTransfer(ftdi_context& context, std::span<uint8_t> raw,
                                       uint32_t& got);

// Writes BYTES (at most the context's write chunk size) in one out-transfer; WRITTEN is how
// many went out, also when the transfer timed out part-way.
[[nodiscard]] FtStatus WriteOneTransfer(ftdi_context& context, std::span<const uint8_t> bytes,
                                        uint32_t& written);

// The D2XX status for a libftdi1 or libusb result: a vanished device is refused outright, so
// that writes end at once and the reader reports the bridge lost.
[[nodiscard]] FtStatus StatusOfUsbResult(int result);

} // namespace varnolt
