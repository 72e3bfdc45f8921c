#pragma once

#include "core/link/port/D2xxApi.h"

#include <span>
#include <string>

namespace varnolt {

// One device as FT_ListDevices reports it.
struct ListedDevice {
    std::string description;
    std::string serialNumber;
};

// FT_ListDevices(FIRST, SECOND, FLAGS) over DEVICES, for backends that know their devices but
// not D2XX's argument conventions: the number only (FIRST is the count's address), all
// devices (FIRST an array of 64-byte buffers ended by a null pointer, SECOND the count's
// address) or one device by index (FIRST the index, SECOND one buffer), by description or by
// serial number. Texts longer than a buffer are cut; no buffer is written past the array's
// null pointer.
[[nodiscard]] FtStatus ListDevices(std::span<const ListedDevice> devices, void* first, void* second,
                                   uint32_t flags);

} // namespace varnolt
