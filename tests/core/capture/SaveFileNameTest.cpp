#include "core/capture/SaveFileName.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace varnolt {
namespace {

std::tm LocalTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm time{};
    time.tm_year = year - 1900;
    time.tm_mon = month - 1;
    time.tm_mday = day;
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = second;
    return time;
}

TEST(SaveFileName, PrefixOfTheKindAndTheLocalTime) {
    const std::filesystem::path folder = "/data/captures";
    EXPECT_EQ(SaveFileName(folder, SaveKind::Automatic, LocalTime(2026, 12, 10, 4, 42, 34)),
              folder / "VrnAuto_20261210_044234.tvd");
    EXPECT_EQ(SaveFileName(folder, SaveKind::Trigger, LocalTime(2027, 1, 2, 23, 5, 9)),
              folder / "VrnTrigsv_20270102_230509.tvd");
}

TEST(SaveFileName, TakenNamesGetTheNextFreeSuffix) {
    const testing::TempDir dir;
    const std::filesystem::path name = dir / "VrnAuto_20261210_044234.tvd";
    EXPECT_EQ(FreeSaveFilePath(name), name);

    std::ofstream(name).put('x');
    EXPECT_EQ(FreeSaveFilePath(name), dir / "VrnAuto_20261210_044234_2.tvd");

    // Anything of the name counts as taken: a file, a folder, a link that leads nowhere.
    std::ofstream(dir / "VrnAuto_20261210_044234_2.tvd").put('x');
    std::filesystem::create_directory(dir / "VrnAuto_20261210_044234_3.tvd");
    std::filesystem::create_symlink(dir / "nowhere", dir / "VrnAuto_20261210_044234_4.tvd");
    EXPECT_EQ(FreeSaveFilePath(name), dir / "VrnAuto_20261210_044234_5.tvd");
}

TEST(SaveFileName, OnlyAnExistingDirectoryIsASaveFolder) {
    const testing::TempDir dir;
    std::ofstream(dir / "file").put('x');
    EXPECT_TRUE(IsSaveFolder(dir.path()));
    EXPECT_FALSE(IsSaveFolder(dir / "file"));
    EXPECT_FALSE(IsSaveFolder(dir / "missing"));
    EXPECT_FALSE(IsSaveFolder(""));
}

} // namespace
} // namespace varnolt
