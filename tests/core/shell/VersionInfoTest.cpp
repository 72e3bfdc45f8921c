#include "core/shell/VersionInfo.h"

#include <gtest/gtest.h>

namespace varnolt {
namespace {

TEST(VersionInfo, VersionLineForms) {
    EXPECT_EQ(FormatVersionLine(kProductVersion, kSpecialBuild), "Version 1.2.0.0");
    EXPECT_EQ(FormatVersionLine("1.2.0.0", "beta"), "Version 1.2.0.0-beta");
    EXPECT_EQ(FormatVersionLine("", "beta"), "Version beta");
}

} // namespace
} // namespace varnolt
