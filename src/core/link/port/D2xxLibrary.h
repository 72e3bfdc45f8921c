#pragma once

#include "core/link/port/D2xxApi.h"

namespace varnolt {

// FTDI's own D2XX library, loaded by file name when a port is set up: "Ftd2xx.dll" on Windows,
// "libftd2xx.so" elsewhere. Each port loads it afresh and frees it when the port goes.
class D2xxLibrary final : public D2xxApi {
public:
    // The file name the library is loaded by on this platform.
    [[nodiscard]] static const char* fileName();

    // Loads the library and resolves the entry points in the order FT_Write, FT_Read,
    // FT_Open, FT_OpenEx, FT_ListDevices, FT_Close, FT_ResetDevice, FT_Purge, FT_SetTimeouts,
    // FT_GetQueueStatus, FT_SetLatencyTimer, FT_SetBaudRate, FT_SetUSBParameters. A missing
    // library or name is reported to the user and leaves that entry and all later ones empty.
    [[nodiscard]] D2xxEntryPoints load(UserPrompt& prompt) override;
};

} // namespace varnolt
