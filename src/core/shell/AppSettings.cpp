#include "core/shell/AppSettings.h"

#include "core/platform/ConfigStore.h"

namespace varnolt {

namespace {

int32_t ZeroOrOne(int32_t value) {
    return value == 0 || value == 1 ? value : 0;
}

int32_t Flag(int32_t value) {
    return value != 0 ? 1 : 0;
}

int32_t FileSizeMegabytes(int32_t value) {
    switch (value) {
    case 1:
    case 2:
    case 4:
    case 8:
    case 16:
        return value;
    default:
        return 8;
    }
}

} // namespace

AppSettings ReadAppSettings(const ConfigStore& store) {
    const auto read = [&store](const char* key, int32_t fallback) {
        return store.readInt(kSettingsSection, key, fallback);
    };
    AppSettings settings;
    // Anything but 0 or 1 draws lines; a negative value is as unknown as one above 1.
    settings.linePattern = static_cast<int16_t>(ZeroOrOne(read("LinePattern", 0)));
    const int32_t lineLength = read("ExportLineLength", 50);
    settings.exportLineLength = lineLength < 10 ? 10 : lineLength;
    settings.exportMojiSize = ZeroOrOne(read("ExportMojiSize", 0));
    settings.exportLineOut = ZeroOrOne(read("ExportLineOut", 0));
    settings.saSyncRxFlg = Flag(read("SaSyncRxFlg", 0));
    settings.saSyncTxFlg = Flag(read("SaSyncTxFlg", 0));
    settings.autoSaveEnableFlg = Flag(read("AutoSaveEnableFlg", 0));
    settings.autoSaveFolder = store.readString(kSettingsSection, "AutoSaveFolder", "");
    settings.autoSaveFileSize = FileSizeMegabytes(read("AutoSaveFileSize", 8));
    settings.hexView = ZeroOrOne(read("HexView", 0));
    settings.saveAskFlg = Flag(read("SaveAskFlg", 1));
    return settings;
}

void WriteAppSettings(const AppSettings& settings, ConfigStore& store) {
    store.writeInt(kSettingsSection, "LinePattern", settings.linePattern);
    store.writeInt(kSettingsSection, "ExportLineLength", settings.exportLineLength);
    store.writeInt(kSettingsSection, "ExportMojiSize", settings.exportMojiSize);
    store.writeInt(kSettingsSection, "ExportLineOut", settings.exportLineOut);
    store.writeInt(kSettingsSection, "SaSyncRxFlg", settings.saSyncRxFlg);
    store.writeInt(kSettingsSection, "SaSyncTxFlg", settings.saSyncTxFlg);
    store.writeInt(kSettingsSection, "AutoSaveEnableFlg", settings.autoSaveEnableFlg);
    store.writeString(kSettingsSection, "AutoSaveFolder", settings.autoSaveFolder);
    store.writeInt(kSettingsSection, "AutoSaveFileSize", settings.autoSaveFileSize);
    store.writeInt(kSettingsSection, "HexView", settings.hexView != 0 ? 1 : 0);
    store.writeInt(kSettingsSection, "SaveAskFlg", settings.saveAskFlg);
}

AutoSaveOptions AutoSaveOptionsOf(const AppSettings& settings) {
    return {settings.autoSaveEnableFlg == 1, std::filesystem::path(settings.autoSaveFolder),
            settings.autoSaveFileSize};
}

} // namespace varnolt
