#include "core/shell/EnvironmentSettings.h"

#include "core/shell/AppSettings.h"

#include <gtest/gtest.h>

namespace varnolt {
namespace {

TEST(EnvironmentSettings, SizeListPositions) {
    const int32_t sizes[] = {1, 2, 4, 8, 16};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(FileSizeChoiceOf(sizes[i]), i);
        EXPECT_EQ(FileSizeOfChoice(i), sizes[i]);
    }
    EXPECT_FALSE(FileSizeChoiceOf(3).has_value());
    EXPECT_EQ(FileSizeOfChoice(-1), 8); // no selection
    EXPECT_EQ(FileSizeOfChoice(5), 8);
}

TEST(EnvironmentSettings, CopiesReachTheValuesOnlyWhenApplied) {
    AppSettings settings;
    settings.autoSaveFolder = "/data/old";
    EnvironmentSettings copy = EnvironmentSettings::From(settings);
    copy.autoSaveEnabled = true;
    copy.autoSaveFolder = "/data/new";
    copy.autoSaveFileSize = 16;
    copy.autoRead = true;
    copy.askBeforeDiscard = false;
    EXPECT_EQ(settings.autoSaveFolder, "/data/old");
    copy.ApplyTo(settings);
    EXPECT_EQ(settings.autoSaveEnableFlg, 1);
    EXPECT_EQ(settings.autoSaveFolder, "/data/new");
    EXPECT_EQ(settings.autoSaveFileSize, 16);
    EXPECT_EQ(settings.saSyncRxFlg, 1);
    EXPECT_EQ(settings.saSyncTxFlg, 0);
    EXPECT_EQ(settings.saveAskFlg, 0);
    EXPECT_EQ(settings.exportLineLength, 50); // untouched
}

} // namespace
} // namespace varnolt
