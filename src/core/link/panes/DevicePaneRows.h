#pragma once

#include <string>
#include <vector>

namespace varnolt {

class CSaParameter;
struct StatusBlock;

// One value line of the device status pane: its name, the description shown for it, and the
// value as signed decimal ("%d": a counter of FFFFFFFF reads -1).
struct DevicePaneItem {
    std::string name;
    std::string description;
    std::string value;
    friend bool operator==(const DevicePaneItem&, const DevicePaneItem&) = default;
};

// A group of the pane: its items, or its sub-groups (the timers' and counters' "1" … "4").
struct DevicePaneGroup {
    std::string name;
    std::vector<DevicePaneGroup> subGroups;
    std::vector<DevicePaneItem> items;
};

// The pane's five groups in order — "タイマー", "カウンタ", "受信数", "エラー", "トリガー" — with
// the timers' and counters' set and current values from SETTINGS, and the counts and trigger
// counts from STATUS.
[[nodiscard]] std::vector<DevicePaneGroup> DevicePaneGroups(const CSaParameter& settings,
                                                            const StatusBlock& status);

// Every item's value, in the order the items appear in DevicePaneGroups (depth first): timers
// 1 … 4 set and current value, the counters likewise, the seven counts, the eight trigger counts.
[[nodiscard]] std::vector<std::string> DevicePaneValues(const CSaParameter& settings,
                                                        const StatusBlock& status);

} // namespace varnolt
