#include "core/link/panes/DevicePaneRows.h"

#include "core/link/reception/CDeviceEtc.h"
#include "core/settings/CSaParameter.h"

#include <gtest/gtest.h>

namespace varnolt {
namespace {

TEST(DevicePaneRows, GroupsItemsAndDescriptionsInOrder) {
    const std::vector<DevicePaneGroup> groups = DevicePaneGroups(CSaParameter{}, StatusBlock{});
    ASSERT_EQ(groups.size(), 5U);
    EXPECT_EQ(groups[0].name, "タイマー");
    EXPECT_EQ(groups[1].name, "カウンタ");
    EXPECT_EQ(groups[2].name, "受信数");
    EXPECT_EQ(groups[3].name, "エラー");
    EXPECT_EQ(groups[4].name, "トリガー");

    ASSERT_EQ(groups[0].subGroups.size(), 4U);
    const DevicePaneGroup& timer2 = groups[0].subGroups[1];
    EXPECT_EQ(timer2.name, "2");
    EXPECT_EQ(timer2.items[0].name, "設定値");
    EXPECT_EQ(timer2.items[0].description, "タイマー2 設定値");
    EXPECT_EQ(timer2.items[1].description, "タイマー2 現在値");
    EXPECT_EQ(groups[1].subGroups[3].items[1].description, "カウンタ4 現在値");
    EXPECT_EQ(groups[2].items[1].description, "受信数 RD");
    ASSERT_EQ(groups[3].items.size(), 5U);
    EXPECT_EQ(groups[3].items[2].name, "PF");
    EXPECT_EQ(groups[3].items[4].description, "エラー OE");
    ASSERT_EQ(groups[4].items.size(), 8U);
    EXPECT_EQ(groups[4].items[7].description, "トリガー 8");
}

TEST(DevicePaneRows, ValuesAreSignedDecimalInRefreshOrder) {
    CSaParameter settings;
    StatusBlock status;
    for (size_t k = 0; k < 4; ++k) {
        settings.timers[k] = {static_cast<uint32_t>(10 + k), static_cast<uint32_t>(20 + k)};
        settings.counters[k].setValue = static_cast<uint32_t>(30 + k);
        settings.counters[k].currentValue = static_cast<uint32_t>(40 + k);
    }
    settings.counters[3].currentValue = 0xFFFF'FFFF;
    for (size_t k = 0; k < kStatusCountCount; ++k) {
        status.counts[k] = static_cast<int32_t>(50 + k);
    }
    status.triggerCounts[7] = 0x0FFF;

    const std::vector<std::string> values = DevicePaneValues(settings, status);
    const std::vector<std::string> expected = {
        "10", "20", "11", "21", "12", "22", "13", "23", // timers: set, current
        "30", "40", "31", "41", "32", "42", "33", "-1", // counters: FFFFFFFF is -1
        "50", "51",                                     // SD, RD
        "52", "53", "54", "55", "56",                   // PE, FE, PF, BR, OE
        "0",  "0",  "0",  "0",  "0",  "0",  "0",  "4095"};
    EXPECT_EQ(values, expected);
}

} // namespace
} // namespace varnolt
