#include "core/shell/AppSettings.h"

#include "core/platform/MemoryConfigStore.h"

#include <gtest/gtest.h>

namespace varnolt {
namespace {

TEST(AppSettings, FirstRunGivesTheDefaults) {
    MemoryConfigStore store;
    const AppSettings settings = ReadAppSettings(store);
    EXPECT_EQ(settings, AppSettings{});
    EXPECT_EQ(settings.exportLineLength, 50);
    EXPECT_EQ(settings.autoSaveFileSize, 8);
    EXPECT_EQ(settings.autoSaveEnableFlg, 0);
    EXPECT_EQ(settings.saveAskFlg, 1);
}

struct Replacement {
    const char* key;
    int32_t stored;
    int32_t read;
};

class AppSettingsReplacement : public ::testing::TestWithParam<Replacement> {};

TEST_P(AppSettingsReplacement, OutOfRangeValuesAreReplaced) {
    const Replacement& c = GetParam();
    MemoryConfigStore store;
    store.writeInt(kSettingsSection, c.key, c.stored);
    const AppSettings s = ReadAppSettings(store);
    const std::string key = c.key;
    const int32_t read = key == "LinePattern"         ? s.linePattern
                         : key == "ExportLineLength"  ? s.exportLineLength
                         : key == "ExportMojiSize"    ? s.exportMojiSize
                         : key == "ExportLineOut"     ? s.exportLineOut
                         : key == "SaSyncRxFlg"       ? s.saSyncRxFlg
                         : key == "SaSyncTxFlg"       ? s.saSyncTxFlg
                         : key == "AutoSaveEnableFlg" ? s.autoSaveEnableFlg
                         : key == "AutoSaveFileSize"  ? s.autoSaveFileSize
                         : key == "SaveAskFlg"        ? s.saveAskFlg
                                                      : s.hexView;
    EXPECT_EQ(read, c.read) << c.key << " stored as " << c.stored;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, AppSettingsReplacement,
    ::testing::Values(Replacement{"ExportLineLength", 3, 10},
                      Replacement{"ExportLineLength", 10, 10},
                      Replacement{"ExportLineLength", 120, 120},
                      Replacement{"AutoSaveFileSize", 3, 8},
                      Replacement{"AutoSaveFileSize", 16, 16},
                      Replacement{"AutoSaveFileSize", 32, 8}, Replacement{"SaSyncRxFlg", 5, 1},
                      Replacement{"SaSyncTxFlg", -1, 1}, Replacement{"AutoSaveEnableFlg", 2, 1},
                      Replacement{"ExportLineOut", 5, 0}, Replacement{"ExportMojiSize", 1, 1},
                      Replacement{"ExportMojiSize", 2, 0}, Replacement{"LinePattern", 2, 0},
                      Replacement{"LinePattern", 1, 1}, Replacement{"LinePattern", -1, 0},
                      Replacement{"HexView", 7, 0}, Replacement{"HexView", 1, 1},
                      Replacement{"SaveAskFlg", 0, 0}, Replacement{"SaveAskFlg", 3, 1}));

TEST(AppSettings, WrittenValuesReadBackUnchanged) {
    AppSettings settings;
    settings.linePattern = 1;
    settings.exportLineLength = 72;
    settings.exportMojiSize = 1;
    settings.exportLineOut = 1;
    settings.saSyncRxFlg = 1;
    settings.saSyncTxFlg = 1;
    settings.autoSaveEnableFlg = 1;
    settings.autoSaveFolder = "/home/user/計測";
    settings.autoSaveFileSize = 2;
    settings.hexView = 1;
    settings.saveAskFlg = 0;
    MemoryConfigStore store;
    WriteAppSettings(settings, store);
    EXPECT_EQ(ReadAppSettings(store), settings);
}

} // namespace
} // namespace varnolt
