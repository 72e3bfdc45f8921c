#include "core/link/port/LibFtdiTransfers.h"

#include <algorithm>
#include <cstring>
#include <ftdi.h>
#include <libusb.h>

namespace varnolt {

namespace {

// Every bulk-in packet of an FTDI chip starts with the modem and line status.
constexpr size_t kPacketStatusBytes = 2;

// Removes the status bytes from the TRANSFERRED raw bytes at the head of RAW, packet by packet;
// returns the data bytes left.
size_t StripPacketStatus(std::span<uint8_t> raw, size_t transferred, size_t packetBytes) {
    size_t data = 0;
    for (size_t packet = 0; packet < transferred; packet += packetBytes) {
        const size_t length = std::min(packetBytes, transferred - packet);
        if (length > kPacketStatusBytes) {
            std::memmove(raw.data() + data, raw.data() + packet + kPacketStatusBytes,
                         length - kPacketStatusBytes);
            data += length - kPacketStatusBytes;
        }
    }
    return data;
}

} // namespace

FtStatus StatusOfUsbResult(int result) {
    if (result >= 0 || result == LIBUSB_ERROR_TIMEOUT) {
        return kFtOk;
    }
    return result == LIBUSB_ERROR_NO_DEVICE ? kFtDeviceNotFound : kFtIoError;
}

FtStatus ReadOneTransfer(ftdi_context& context, std::span<uint8_t> raw, uint32_t& got) {
    got = 0;
    if (context.usb_dev == nullptr) {
        return kFtInvalidHandle;
    }
    int transferred = 0;
    const int result =
        libusb_bulk_transfer(context.usb_dev, static_cast<unsigned char>(context.out_ep),
                             raw.data(), static_cast<int>(raw.size()), &transferred,
                             static_cast<unsigned int>(context.usb_read_timeout));
    const size_t packetBytes = std::max<size_t>(context.max_packet_size, 64);
    got = static_cast<uint32_t>(
        StripPacketStatus(raw, static_cast<size_t>(std::max(transferred, 0)), packetBytes));
    return StatusOfUsbResult(result);
}

FtStatus WriteOneTransfer(ftdi_context& context, std::span<const uint8_t> bytes,
                          uint32_t& written) {
    written = 0;
    if (context.usb_dev == nullptr) {
        return kFtInvalidHandle;
    }
    const size_t count =
        std::min<size_t>(bytes.size(), std::max(context.writebuffer_chunksize, 1U));
    int transferred = 0;
    // libusb does not write through the pointer of an out-transfer.
    const int result =
        libusb_bulk_transfer(context.usb_dev, static_cast<unsigned char>(context.in_ep),
                             const_cast<unsigned char*>(bytes.data()), static_cast<int>(count),
                             &transferred, static_cast<unsigned int>(context.usb_write_timeout));
    written = static_cast<uint32_t>(std::max(transferred, 0));
    return StatusOfUsbResult(result);
}

} // namespace varnolt
