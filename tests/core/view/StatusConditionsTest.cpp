#include "core/view/StatusConditions.h"

#include "core/capture/CaptureHeader.h"

#include <gtest/gtest.h>

namespace varnolt {
namespace {

TEST(StatusConditions, TextsOfEachConditionAndValuesOutsideTheLists) {
    CaptureHeader header;
    header.lineMode = 4;
    header.speed = 460800;
    header.dataBits = 7;
    header.parity = 3;
    header.stopBits = 2;
    const StatusConditionTexts texts = StatusConditionsOf(header);
    EXPECT_EQ(texts.lineMode, "RS422/485 ｼﾐｭﾚｰｼｮﾝ");
    EXPECT_EQ(texts.speed, "460800");
    EXPECT_EQ(texts.dataBits, "７bit");
    EXPECT_EQ(texts.parity, "ODD");
    EXPECT_EQ(texts.stopBits, "２Stop");

    header.lineMode = 9;
    header.dataBits = 6;
    header.parity = 1;
    header.stopBits = 0;
    const StatusConditionTexts unknown = StatusConditionsOf(header);
    EXPECT_FALSE(unknown.lineMode);
    EXPECT_FALSE(unknown.dataBits);
    EXPECT_FALSE(unknown.parity);
    EXPECT_FALSE(unknown.stopBits);
}

} // namespace
} // namespace varnolt
