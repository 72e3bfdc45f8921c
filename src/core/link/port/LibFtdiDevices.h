#pragma once

#include "core/link/port/D2xxApi.h"
#include "core/link/port/D2xxDeviceList.h"

#include <string>
#include <vector>

struct ftdi_context;

namespace varnolt {

// Which attached FT232H to open: the INDEXth (from 0) of those with the given USB description
// and serial number (a null text matches any).
struct WantedBridge {
    const char* description = nullptr;
    const char* serial = nullptr;
    int index = 0;
};

// Opens the wanted bridge on CONTEXT. Every attached FT232H is looked at on its own, so one
// this user may not open (no udev rule covers it) or another program holds does not hide the
// ones after it. kFtOk; kFtNoPermission when the only bridges that match are refused to this
// user; kFtDeviceNotOpened when a match is there but would not open; else kFtDeviceNotFound.
[[nodiscard]] FtStatus OpenWantedBridge(ftdi_context& context, const WantedBridge& wanted);

// The attached FT232Hs with their descriptions and serial numbers; one this user may not open
// is listed with empty texts. OK is false when the bus could not be searched.
[[nodiscard]] std::vector<ListedDevice> AttachedBridges(bool& ok);

} // namespace varnolt
