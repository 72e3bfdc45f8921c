#include "core/link/panes/DevicePaneRows.h"

#include "core/link/reception/CDeviceEtc.h"
#include "core/settings/CSaParameter.h"

#include <array>
#include <string_view>

namespace varnolt {

namespace {

// "%d" of a 32-bit value: the analyzer's numbers are shown signed.
std::string Signed(uint32_t value) {
    return std::to_string(static_cast<int32_t>(value));
}

// Sub-groups "1" … "4" of set and current values, described as PREFIX + number + " 設定値".
template <typename Entries>
DevicePaneGroup SetAndCurrentGroup(std::string_view name, const Entries& entries) {
    DevicePaneGroup group{std::string(name), {}, {}};
    for (size_t k = 0; k < entries.size(); ++k) {
        const std::string number = std::to_string(k + 1);
        const std::string prefix = std::string(name) + number;
        group.subGroups.push_back(
            {number,
             {},
             {{"設定値", prefix + " 設定値", Signed(entries[k].setValue)},
              {"現在値", prefix + " 現在値", Signed(entries[k].currentValue)}}});
    }
    return group;
}

void CollectValues(const DevicePaneGroup& group, std::vector<std::string>& values) {
    for (const DevicePaneGroup& sub : group.subGroups) {
        CollectValues(sub, values);
    }
    for (const DevicePaneItem& item : group.items) {
        values.push_back(item.value);
    }
}

} // namespace

std::vector<DevicePaneGroup> DevicePaneGroups(const CSaParameter& settings,
                                              const StatusBlock& status) {
    std::vector<DevicePaneGroup> groups;
    groups.push_back(SetAndCurrentGroup("タイマー", settings.timers));
    groups.push_back(SetAndCurrentGroup("カウンタ", settings.counters));

    DevicePaneGroup received{"受信数", {}, {}};
    for (const auto& [count, name] : {std::pair{kCountSd, "SD"}, std::pair{kCountRd, "RD"}}) {
        received.items.push_back(
            {name, std::string("受信数 ") + name, std::to_string(status.counts[count])});
    }
    groups.push_back(std::move(received));

    DevicePaneGroup errors{"エラー", {}, {}};
    static constexpr std::array<std::string_view, 5> kErrorNames{"PE", "FE", "PF", "BR", "OE"};
    for (size_t k = 0; k < kErrorNames.size(); ++k) {
        const std::string name(kErrorNames[k]);
        errors.items.push_back(
            {name, "エラー " + name, std::to_string(status.counts[kCountPe + k])});
    }
    groups.push_back(std::move(errors));

    DevicePaneGroup triggers{"トリガー", {}, {}};
    for (size_t k = 0; k < kTriggerCountCount; ++k) {
        const std::string number = std::to_string(k + 1);
        triggers.items.push_back(
            {number, "トリガー " + number, std::to_string(status.triggerCounts[k])});
    }
    groups.push_back(std::move(triggers));
    return groups;
}

std::vector<std::string> DevicePaneValues(const CSaParameter& settings, const StatusBlock& status) {
    std::vector<std::string> values;
    for (const DevicePaneGroup& group : DevicePaneGroups(settings, status)) {
        CollectValues(group, values);
    }
    return values;
}

} // namespace varnolt
