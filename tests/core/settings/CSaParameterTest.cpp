#include "core/settings/CSaParameter.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace varnolt {
namespace {

TEST(CSaParameter, FreshModelHoldsTheDefaults) {
    const CSaParameter model;
    EXPECT_EQ(model.lineMode, 1);
    EXPECT_EQ(model.speed, 9600u);
    EXPECT_EQ(model.dataBits, 8);
    EXPECT_EQ(model.stopBits, 1);
    EXPECT_EQ(model.parity, 0);
    EXPECT_EQ(model.frameDetectionTime, 100);
    EXPECT_EQ(model.reserved, (std::array<uint8_t, 4>{0x17, 0xEA, 0x2A, 0xD8}));
    for (const SaTriggerEntry& trigger : model.triggers) {
        EXPECT_EQ(trigger.enabled, 0x00);
        EXPECT_EQ(trigger.condition, kTriggerOnError);
        EXPECT_EQ(trigger.action, kTriggerBuzzer);
        EXPECT_EQ(trigger.errorMask, 0xFF);
        EXPECT_EQ(trigger.conditionValue, 1u);
        EXPECT_EQ(trigger.matchLines, 3);
    }
    for (const SaCounterEntry& counter : model.counters) {
        EXPECT_EQ(counter.resetAtStart, -1);
    }
    for (const SaTxEntry& entry : model.transmitEntries) {
        EXPECT_EQ(entry, SaTxEntry{});
    }
}

TEST(CSaParameter, InitializeRestoresDefaultsButKeepsTheAnalyzersMaskBits) {
    CSaParameter model;
    model.speed = 115200;
    model.reserved = {1, 2, 3, 4};
    model.timers[2].currentValue = 77;
    model.transmitEntries[49].elementCount = 3;
    model.triggers[5].riseMask = 0xA555;
    model.triggers[5].fallMask = 0x5AAA;
    model.triggers[5].errorMask = 0x12;

    model.Initialize();

    CSaParameter expected;
    expected.triggers[5].riseMask = 0xA000;
    expected.triggers[5].fallMask = 0x5000;
    EXPECT_EQ(model, expected);
}

struct NormalizeCase {
    std::string name;
    std::function<void(CSaParameter&)> damage;
    // What the damaged field holds after normalizing.
    std::function<void(CSaParameter&)> repaired;
};

class Normalize : public ::testing::TestWithParam<NormalizeCase> {};

TEST_P(Normalize, RepairsOnlyTheDamagedField) {
    CSaParameter model;
    GetParam().damage(model);
    model.Normalize();
    CSaParameter expected;
    GetParam().repaired(expected);
    EXPECT_EQ(model, expected);
}

void CutTriggerPattern(CSaParameter& m) {
    m.triggers[2].pattern[0] = {1, 'A'};
    m.triggers[2].pattern[1] = {2, 4};
}

INSTANTIATE_TEST_SUITE_P(
    Rules, Normalize,
    ::testing::Values(
        NormalizeCase{"line_mode_0", [](auto& m) { m.lineMode = 0; }, [](auto&) {}},
        NormalizeCase{"line_mode_5", [](auto& m) { m.lineMode = 5; }, [](auto&) {}},
        NormalizeCase{"line_mode_4_kept", [](auto& m) { m.lineMode = 4; },
                      [](auto& m) { m.lineMode = 4; }},
        NormalizeCase{"data_bits_6", [](auto& m) { m.dataBits = 6; }, [](auto&) {}},
        NormalizeCase{"data_bits_7_kept", [](auto& m) { m.dataBits = 7; },
                      [](auto& m) { m.dataBits = 7; }},
        NormalizeCase{"stop_bits_3", [](auto& m) { m.stopBits = 3; }, [](auto&) {}},
        NormalizeCase{"parity_1", [](auto& m) { m.parity = 1; }, [](auto&) {}},
        NormalizeCase{"parity_3_kept", [](auto& m) { m.parity = 3; },
                      [](auto& m) { m.parity = 3; }},
        NormalizeCase{"transmit_output_2", [](auto& m) { m.transmitOutput = 2; }, [](auto&) {}},
        NormalizeCase{"idle_display_4", [](auto& m) { m.idleDisplay = 4; }, [](auto&) {}},
        NormalizeCase{"time_display_6", [](auto& m) { m.timeDisplay = 6; }, [](auto&) {}},
        NormalizeCase{"time_display_negative", [](auto& m) { m.timeDisplay = -1; },
                      [](auto&) {}},
        NormalizeCase{"control_line_capture_2", [](auto& m) { m.controlLineCapture = 2; },
                      [](auto&) {}},
        NormalizeCase{"control_line_drawing_0xFFFF",
                      [](auto& m) { m.controlLineDrawing = 0xFFFF; }, [](auto&) {}},
        NormalizeCase{"display_mode_2", [](auto& m) { m.displayMode = 2; }, [](auto&) {}},
        NormalizeCase{"operation_keys_2", [](auto& m) { m.operationKeys = 2; }, [](auto&) {}},
        NormalizeCase{"character_size_2", [](auto& m) { m.characterSize = 2; }, [](auto&) {}},
        NormalizeCase{"backlight_251", [](auto& m) { m.backlightOffTime = 251; }, [](auto&) {}},
        NormalizeCase{"backlight_250_kept", [](auto& m) { m.backlightOffTime = 250; },
                      [](auto& m) { m.backlightOffTime = 250; }},
        NormalizeCase{"frame_time_150000", [](auto& m) { m.frameDetectionTime = 150'000; },
                      [](auto& m) { m.frameDetectionTime = 99'999; }},
        NormalizeCase{"frame_time_negative", [](auto& m) { m.frameDetectionTime = -5; },
                      [](auto& m) { m.frameDetectionTime = 0; }},
        NormalizeCase{"delimiter_enabled_2", [](auto& m) { m.frameDelimiters[3].enabled = 2; },
                      [](auto&) {}},
        // The enabled byte is signed: 0x80 reads as -128 and is not above 1.
        NormalizeCase{"delimiter_enabled_0x80_kept",
                      [](auto& m) { m.frameDelimiters[1].enabled = -128; },
                      [](auto& m) { m.frameDelimiters[1].enabled = -128; }},
        NormalizeCase{"trigger_enabled_0x7F", [](auto& m) { m.triggers[7].enabled = 0x7F; },
                      [](auto&) {}},
        NormalizeCase{"trigger_enabled_on_kept", [](auto& m) { m.triggers[7].enabled = 0xFF; },
                      [](auto& m) { m.triggers[7].enabled = 0xFF; }},
        NormalizeCase{"trigger_condition_6", [](auto& m) { m.triggers[0].condition = 6; },
                      [](auto&) {}},
        NormalizeCase{"trigger_pattern_cut_at_foreign_kind",
                      [](auto& m) {
                          CutTriggerPattern(m);
                          m.triggers[2].pattern[2] = {7, 'y'};
                          m.triggers[2].pattern[3] = {1, 'B'};
                          m.triggers[2].pattern[15] = {10, 0};
                      },
                      CutTriggerPattern},
        NormalizeCase{"trigger_pattern_of_every_kind_kept",
                      [](auto& m) {
                          m.triggers[1].pattern = {{{1, 1}, {2, 2}, {10, 0}, {20, 3}, {21, 1}}};
                      },
                      [](auto& m) {
                          m.triggers[1].pattern = {{{1, 1}, {2, 2}, {10, 0}, {20, 3}, {21, 1}}};
                      }},
        NormalizeCase{"transmit_cut_count_kept",
                      [](auto& m) {
                          m.transmitEntries[9].elementCount = 5;
                          m.transmitEntries[9].elements[0] = {1, 'x'};
                          m.transmitEntries[9].elements[1] = {2, 'y'};
                          m.transmitEntries[9].elements[2] = {1, 'z'};
                      },
                      [](auto& m) {
                          m.transmitEntries[9].elementCount = 5;
                          m.transmitEntries[9].elements[0] = {1, 'x'};
                      }},
        NormalizeCase{"speed_timers_counters_untouched",
                      [](auto& m) {
                          m.speed = 7;
                          m.timers[0] = {123'456'789, 5, 9, -3};
                          m.counters[3] = {999'999'999, 1, 44};
                      },
                      [](auto& m) {
                          m.speed = 7;
                          m.timers[0] = {123'456'789, 5, 9, -3};
                          m.counters[3] = {999'999'999, 1, 44};
                      }}),
    [](const auto& info) { return info.param.name; });

TEST(SaTxEntry, UsedElementsNeverReachPastTheEntry) {
    SaTxEntry entry;
    entry.elementCount = 3;
    EXPECT_EQ(entry.usedElements().size(), 3u);
    entry.elementCount = 1000;
    EXPECT_EQ(entry.usedElements().size(), kTxEntryCapacity);
    entry.elementCount = -2;
    EXPECT_TRUE(entry.usedElements().empty());
}

} // namespace
} // namespace varnolt
