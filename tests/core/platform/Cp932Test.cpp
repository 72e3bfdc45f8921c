#include "core/platform/Cp932.h"

#include <gtest/gtest.h>

namespace varnolt {
namespace {

TEST(Cp932, ConvertsBothWaysAndReplacesWhatItCannotHold) {
    EXPECT_EQ(Utf8ToCp932("ファイル"), "\x83\x74\x83\x40\x83\x43\x83\x8B");
    EXPECT_EQ(Cp932ToUtf8("\x83\x74\x83\x40\x83\x43\x83\x8B"), "ファイル");
    EXPECT_EQ(Utf8ToCp932("a\xC3\xA9" "b"), "a?b");     // é is not in code page 932
    EXPECT_EQ(Utf8ToCp932("a\xF0\x9F\x98\x80z"), "a?z"); // an emoji
    EXPECT_EQ(Utf8ToCp932("a\xFFz"), "a?z");             // broken UTF-8
    EXPECT_EQ(Cp932ToUtf8("x\x83"), "x\xEF\xBF\xBD");   // a lead byte at the end
    EXPECT_EQ(Utf16ToCp932(u"A\u30A2"), "A\x83\x41");
}

} // namespace
} // namespace varnolt
