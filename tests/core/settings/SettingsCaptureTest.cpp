#include "core/settings/SettingsCapture.h"

#include <gtest/gtest.h>

#include "SettingsSamples.h"

namespace varnolt {
namespace {

TEST(SettingsCapture, ResetConditionsComeFromTheLineSettings) {
    const CaptureConditions conditions = CaptureConditionsOf(testing::SampleSettings());
    const CaptureConditions expected{4, 460'800, 7, 2, 3, 1, 1};
    EXPECT_EQ(conditions, expected);
}

TEST(SettingsCapture, FrameSettingsReplaceOnlyTheFrameFields) {
    const CSaParameter settings = testing::SampleSettings();
    CaptureHeader header;
    header.idleDisplay = 3;
    header.formatVersion = 4;
    ApplyFrameSettings(settings, header);

    CaptureHeader expected;
    expected.idleDisplay = 3;
    expected.formatVersion = 4;
    expected.frameDetectionTime = 98'765;
    for (size_t i = 0; i < 4; ++i) {
        expected.delimiters[i] = settings.frameDelimiters[i];
    }
    EXPECT_EQ(header, expected);
}

} // namespace
} // namespace varnolt
