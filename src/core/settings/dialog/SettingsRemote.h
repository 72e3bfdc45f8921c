#pragma once

#include <cstdint>
#include <string_view>

namespace varnolt {

class CSaParameter;

// The settings dialog's status bar: a short text and a progress position (0 … 100).
class SettingsStatus {
public:
    SettingsStatus() = default;
    SettingsStatus(const SettingsStatus&) = delete;
    SettingsStatus& operator=(const SettingsStatus&) = delete;
    virtual ~SettingsStatus() = default;

    virtual void setText(std::string_view text) = 0;
    virtual void setProgress(int percent) = 0;
};

// What the settings dialog asks of the analyzer. Each exchange blocks until it ends, shows its
// own failure message and reports its steps to STATUS.
class SettingsRemote {
public:
    SettingsRemote() = default;
    SettingsRemote(const SettingsRemote&) = delete;
    SettingsRemote& operator=(const SettingsRemote&) = delete;
    virtual ~SettingsRemote() = default;

    // The 27 settings blocks into TARGET, each decoded as it arrives; after a failure the
    // blocks before it are in TARGET.
    virtual bool read(CSaParameter& target, SettingsStatus& status) = 0;
    virtual bool write(const CSaParameter& source, SettingsStatus& status) = 0;
    // Resets counter N (0 … 3): the value the analyzer answers with, or −1.
    [[nodiscard]] virtual int64_t resetCounter(int32_t counter) = 0;
};

} // namespace varnolt
