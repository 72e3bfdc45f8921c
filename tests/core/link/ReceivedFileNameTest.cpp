#include "core/link/savedfile/ReceivedFileName.h"

#include <gtest/gtest.h>

namespace varnolt {
namespace {

struct NameCase {
    const char* shown;
    const char* stem;
};

// The analyzer's names are not trusted: whatever it lists, the file stays in the folder.
TEST(ReceivedFileNameTest, HostileNamesStayInTheChosenFolder) {
    const NameCase cases[] = {
        {" PLC_V4 ", "PLC_V4"},
        {"../../x", "______x"},
        {"..", "__"},
        {"a/b\\c", "a_b_c"},
        {"C:x", "C_x"},
        {"<>\"|?*", "______"},
        {"a\tb", "a_b"},
        {".hidden", "_hidden"},
        {"NUL", "_NUL"},
        {"com1", "_com1"},
        {"CON.txt", "_CON.txt"},
        {"COM10", "COM10"},
        {"\xEF\xBF\xBD"
         "AB",
         "_AB"},
        {"ログ", "ログ"},
        {"", "0007"},
        {"        ", "0007"},
    };
    const std::filesystem::path folder = "/data/received";
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.shown);
        const std::string stem = ReceivedFileStem(c.shown, 7);
        EXPECT_EQ(stem, c.stem);
        const std::filesystem::path path = ReceivedFilePath(folder, stem);
        EXPECT_EQ(path.parent_path(), folder);
        EXPECT_EQ(path.extension(), ".tvd");
    }
}

} // namespace
} // namespace varnolt
