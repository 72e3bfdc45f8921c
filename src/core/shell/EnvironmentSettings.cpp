#include "core/shell/EnvironmentSettings.h"

#include "core/shell/AppSettings.h"

namespace varnolt {

namespace {

constexpr int32_t kSizes[] = {1, 2, 4, 8, 16};

} // namespace

EnvironmentSettings EnvironmentSettings::From(const AppSettings& settings) {
    EnvironmentSettings copy;
    copy.autoSaveEnabled = settings.autoSaveEnableFlg != 0;
    copy.autoSaveFolder = settings.autoSaveFolder;
    copy.autoSaveFileSize = settings.autoSaveFileSize;
    copy.askBeforeDiscard = settings.saveAskFlg != 0;
    copy.autoRead = settings.saSyncRxFlg != 0;
    copy.autoWrite = settings.saSyncTxFlg != 0;
    return copy;
}

void EnvironmentSettings::ApplyTo(AppSettings& settings) const {
    settings.autoSaveEnableFlg = autoSaveEnabled ? 1 : 0;
    settings.autoSaveFolder = autoSaveFolder;
    settings.autoSaveFileSize = autoSaveFileSize;
    settings.saveAskFlg = askBeforeDiscard ? 1 : 0;
    settings.saSyncRxFlg = autoRead ? 1 : 0;
    settings.saSyncTxFlg = autoWrite ? 1 : 0;
}

std::optional<int> FileSizeChoiceOf(int32_t megabytes) {
    for (int i = 0; i < static_cast<int>(std::size(kSizes)); ++i) {
        if (kSizes[i] == megabytes) {
            return i;
        }
    }
    return std::nullopt;
}

int32_t FileSizeOfChoice(int choice) {
    return choice >= 0 && choice < static_cast<int>(std::size(kSizes)) ? kSizes[choice] : 8;
}

} // namespace varnolt
