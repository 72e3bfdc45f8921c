#include "core/link/port/D2xxDeviceList.h"

#include "core/link/port/LibFtdiApi.h"
#include "support/RecordingPrompt.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace varnolt {
namespace {

const std::vector<ListedDevice> kDevices{
    {"Tavrix USB Device 232H", "VRN001"},
    {std::string(80, 'L'), "LONG"},
    {"USB Serial Converter", "FT0042"},
};

TEST(D2xxDeviceList, CountsThenFillsTheCallersBuffersAndNoMore) {
    uint32_t count = 0;
    EXPECT_EQ(ListDevices(kDevices, &count, nullptr, kFtListNumberOnly), kFtOk);
    EXPECT_EQ(count, 3U);

    // Room for two: the third device is not written past the null pointer.
    std::array<std::array<char, kFtListEntryBytes>, 3> buffers{};
    buffers[2].fill('#');
    std::array<char*, 3> pointers{buffers[0].data(), buffers[1].data(), nullptr};
    EXPECT_EQ(ListDevices(kDevices, pointers.data(), &count, kFtListAll | kFtOpenByDescription),
              kFtOk);
    EXPECT_EQ(count, 2U);
    EXPECT_EQ(std::string(buffers[0].data()), "Tavrix USB Device 232H");
    EXPECT_EQ(std::string(buffers[1].data()), std::string(63, 'L'));
    EXPECT_EQ(buffers[2][0], '#');

    char serial[kFtListEntryBytes];
    EXPECT_EQ(ListDevices(kDevices, reinterpret_cast<void*>(uintptr_t{2}), serial,
                          kFtListByIndex | kFtOpenBySerialNumber),
              kFtOk);
    EXPECT_EQ(std::string(serial), "FT0042");
    EXPECT_EQ(ListDevices(kDevices, reinterpret_cast<void*>(uintptr_t{3}), serial,
                          kFtListByIndex | kFtOpenBySerialNumber),
              kFtDeviceNotFound);
}

// No bridge is attached here: libftdi1 must say so through D2XX's statuses, and refuse a
// handle it did not hand out.
TEST(LibFtdiApi, WithoutADeviceOpeningFailsAndForeignHandlesAreRefused) {
    if (!LibFtdiApi::available()) {
        GTEST_SKIP() << "built without libftdi1";
    }
    testing::RecordingPrompt prompt;
    LibFtdiApi api;
    const D2xxEntryPoints entries = api.load(prompt);
    EXPECT_TRUE(prompt.entries.empty());
    FtHandle handle = nullptr;
    EXPECT_NE(entries.FT_OpenEx("No Such Device", kFtOpenByDescription, &handle), kFtOk);
    EXPECT_EQ(handle, nullptr);
    int foreign = 0;
    uint32_t count = 0;
    EXPECT_EQ(entries.FT_GetQueueStatus(&foreign, &count), kFtInvalidHandle);
    EXPECT_EQ(entries.FT_Write(&foreign, "x", 1, &count), kFtInvalidHandle);
    EXPECT_EQ(count, 0U);
    EXPECT_EQ(entries.FT_Close(&foreign), kFtInvalidHandle);
    EXPECT_EQ(entries.FT_OpenEx("x", 4, &handle), kFtNotSupported);
}

} // namespace
} // namespace varnolt
