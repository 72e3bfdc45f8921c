#pragma once

#include "core/settings/CSaParameter.h"
#include "core/settings/dialog/CommunicationPageModel.h"
#include "core/settings/dialog/CounterPageModel.h"
#include "core/settings/dialog/DisplayPageModel.h"
#include "core/settings/dialog/TimerPageModel.h"
#include "core/settings/dialog/TransmitPageModel.h"
#include "core/settings/dialog/TriggerPageModel.h"

#include <array>
#include <filesystem>
#include <functional>
#include <string_view>

namespace varnolt {

class SettingsRemote;
class SettingsStatus;
class UserPrompt;

// What the settings dialog "設定" decides: its six pages over a working copy of the settings,
// "初期化", the settings files, the remote read and write, the automatic read when it opens and
// the automatic write (only of what the analyzer does not already hold) on OK.
class SettingsDialogModel {
public:
    static constexpr std::string_view kTitle = "設定";
    static constexpr std::string_view kFileFilter = "設定ファイル (*.tvs)";
    static constexpr std::array<std::string_view, 6> kPageTitles = {
        "通信設定", "送信データ", "トリガー", "タイマー", "カウンタ", "表示"};
    static constexpr std::string_view kInitializeQuestion =
        "全設定を削除し、初期化します。\nよろしいですか？";
    static constexpr std::string_view kReadDoneText = "読込完了";
    static constexpr std::string_view kWriteDoneText = "書込完了";

    // The automatic read and write flags as OK stores them.
    using StoreSyncFlags = std::function<void(bool autoRead, bool autoWrite)>;

    struct Context {
        bool connected = false;           // the link is in remote mode
        bool autoRead = false;            // SaSyncRxFlg
        bool autoWrite = false;           // SaSyncTxFlg
        SettingsRemote* remote = nullptr; // null: no analyzer link at all
        StoreSyncFlags storeSyncFlags;
    };

    SettingsDialogModel(const CSaParameter& settings, Context context, SettingsStatus& status,
                        UserPrompt& prompt);
    SettingsDialogModel(const SettingsDialogModel&) = delete;
    SettingsDialogModel& operator=(const SettingsDialogModel&) = delete;

    // Opening: the automatic read when it is on, then every page from the working model.
    void open();

    [[nodiscard]] const CSaParameter& settings() const { return working_; }
    [[nodiscard]] bool connected() const { return context_.connected; }
    [[nodiscard]] bool remoteEnabled() const;
    [[nodiscard]] bool autoRead() const { return context_.autoRead; }
    [[nodiscard]] bool autoWrite() const { return context_.autoWrite; }
    void setAutoRead(bool on) { context_.autoRead = on; }
    void setAutoWrite(bool on) { context_.autoWrite = on; }

    CommunicationPageModel communication;
    TransmitPageModel transmit;
    TriggerPageModel triggers;
    TimerPageModel timers;
    CounterPageModel counters;
    DisplayPageModel display;

    // "初期化": asks first; on OK every setting goes back to its default and the pages are
    // loaded. Returns whether the pages changed. The analyzer is not touched.
    bool initialize();
    // Before a file dialog opens: the status text is cleared and the progress set to 0.
    void clearStatus();
    // "ファイル読出": the file into the working model, made safe, then every page from it.
    void loadFile(const std::filesystem::path& path);
    // "ファイル保存": every page into the working model (a page that fails its check is not
    // stored; the file is written anyway), then the file.
    void saveFile(const std::filesystem::path& path);
    // "リモート読出": when connected, the analyzer's settings into the working model, then every
    // page from it (also after a failure: the blocks read so far stay).
    void remoteRead();
    // "リモート書込": when connected, every page into the working model, then the model to the
    // analyzer.
    void remoteWrite();
    // OK: stores the two flags, then every page into the working model; false (the dialog stays
    // open) when a page refused its values. With the automatic write on, the analyzer's
    // settings are read and the pages written only when they differ from them.
    bool accept();

    // Every page into the working model in the order communication, transmit, triggers,
    // timers, counters, display; false when the timer, counter or display check failed.
    bool saveAllPages();
    void loadAllPages();

private:
    bool readRemote();
    bool writeRemote();

    CSaParameter working_;
    Context context_;
    SettingsStatus& status_;
    UserPrompt& prompt_;
};

} // namespace varnolt
