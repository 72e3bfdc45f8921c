#include "core/shell/Commands.h"

#include <array>

namespace varnolt {

namespace {

constexpr std::array kCommandTexts{
    CommandText{kCmdFileNew, "新規作成(&N)", "Ctrl+N", "新しいキャプチャを作成します"},
    CommandText{kCmdFileOpen, "開く(&O)...", "Ctrl+O", "キャプチャ ファイルを開きます"},
    CommandText{kCmdFileSave, "上書き保存(&S)", "Ctrl+S", "キャプチャを保存します"},
    CommandText{kCmdFileSaveAs, "名前を付けて保存(&A)...", "",
                "キャプチャに名前を付けて保存します"},
    CommandText{kCmdFilePrint, "印刷(&P)...", "Ctrl+P", "キャプチャを印刷します"},
    CommandText{kCmdFilePrintPreview, "印刷プレビュー(&V)", "", "印刷イメージを表示します"},
    CommandText{kCmdFilePrintSetup, "プリンターの設定(&R)...", "",
                "プリンターと印刷オプションを変更します"},
    CommandText{kCmdExport, "ファイル出力", "", "テキストまたは CSV ファイルに出力します"},
    CommandText{kCmdInteropExport, "エクスポート", "",
                "Wireshark 用の pcapng または波形表示用の VCD ファイルに出力します"},
    CommandText{kCmdRecentFile, "最近使ったファイル", "", "最近使ったファイルを開きます"},
    CommandText{kCmdAppExit, "アプリケーションの終了(&X)", "", "アプリケーションを終了します"},
    CommandText{kCmdFind, "検索", "Ctrl+F", "文字列、エラー、アイドル、時刻を検索します"},
    CommandText{kCmdFindNext, "次を検索", "F3", "次を検索します"},
    CommandText{kCmdFindPrevious, "前を検索", "Shift+F3", "前を検索します"},
    CommandText{kCmdHexView, "16進表示", "", "文字を 16 進コードで表示します"},
    CommandText{kCmdControlLineView, "制御ライン表示", "", "制御ラインを表示します"},
    CommandText{kCmdTimerCounterPane, "タイマー・カウンタ表示", "",
                "タイマー・カウンタ ビューを表示します"},
    CommandText{kCmdStatistics, "統計情報", "",
                "文字数、エラー、アイドル時間、応答時間などの統計を表示します"},
    CommandText{kCmdLinePatternLines, "線型　ライン表示", "", "制御ラインを線で表示します"},
    CommandText{kCmdLinePatternFilled, "塗込型　ライン表示", "",
                "制御ラインを塗りつぶして表示します"},
    CommandText{kCmdConnect, "接続", "", "機器に接続します"},
    CommandText{kCmdDisconnect, "切断", "", "機器から切断します"},
    CommandText{kCmdStart, "開始", "", "測定を開始します"},
    CommandText{kCmdStop, "停止", "", "測定を停止します"},
    CommandText{kCmdOnlineDataReceive, "オンラインデータ受信", "", "機器の測定データを受信します"},
    CommandText{kCmdSavedFileReceive, "保存ファイル受信", "", "機器の保存ファイルを受信します"},
    CommandText{kCmdSettings, "設定", "", "機器の設定を編集します"},
    CommandText{kCmdFirmwareUpdate, "ファームウェア更新", "", "機器のファームウェアを更新します"},
    CommandText{kCmdScreenCapture, "画面キャプチャ", "", "機器の画面を取り込みます"},
    CommandText{kCmdEnvironment, "環境設定", "", "自動保存と設定の自動読込・書込を設定します"},
    CommandText{kCmdToolbarCustomize, "カスタマイズ...", "", "ツール バーのボタンを選びます"},
    CommandText{kCmdAppAbout, "バージョン情報 Varnolt(&A)...", "",
                "プログラムのバージョン情報を表示します"},
};

CommandState Enabled(bool enabled) {
    return {enabled, false, false};
}

CommandState Ticked(bool enabled, bool checked) {
    return {enabled, checked, true};
}

// Commands that exchange with the analyzer, or read or replace the capture store.
bool TouchesLinkOrStore(CommandId id) {
    switch (id) {
    case kCmdFileNew:
    case kCmdFileOpen:
    case kCmdFileSave:
    case kCmdFileSaveAs:
    case kCmdFilePrint:
    case kCmdFilePrintPreview:
    case kCmdExport:
    case kCmdInteropExport:
    case kCmdStatistics:
    case kCmdRecentFile:
    case kCmdFind:
    case kCmdFindNext:
    case kCmdFindPrevious:
    case kCmdHexView:
    case kCmdControlLineView:
    case kCmdConnect:
    case kCmdDisconnect:
    case kCmdStart:
    case kCmdStop:
    case kCmdOnlineDataReceive:
    case kCmdSavedFileReceive:
    case kCmdSettings:
    case kCmdFirmwareUpdate:
    case kCmdScreenCapture:
        return true;
    default:
        return false;
    }
}

// The rules while no modal analyzer operation holds the link.
CommandState EvaluateIdleCommand(CommandId id, const CommandContext& c) {
    const bool captureIdle = c.holdsCapture && !c.measuring;
    switch (id) {
    case kCmdFileNew:
    case kCmdFilePrintSetup:
    case kCmdSettings:
    case kCmdEnvironment:
        return Enabled(!c.measuring);
    case kCmdFileOpen:
    case kCmdFirmwareUpdate:
    case kCmdRecentFile:
        return Enabled(!c.connected);
    case kCmdFileSave:
    case kCmdFileSaveAs:
        return Enabled(!c.measuring && c.recordCount > 0);
    case kCmdFilePrint:
    case kCmdFilePrintPreview:
    case kCmdExport:
    case kCmdInteropExport:
    case kCmdStatistics:
    case kCmdFind:
    case kCmdFindNext:
    case kCmdFindPrevious:
        return Enabled(captureIdle);
    case kCmdHexView:
        return Ticked(c.holdsCapture, c.hexView == 1);
    case kCmdControlLineView:
        return Ticked(c.holdsCapture && c.recordWidth == 1, c.controlLineView == 1);
    case kCmdTimerCounterPane:
        return Ticked(c.holdsCapture, c.timerCounterPane == 1);
    case kCmdLinePatternLines:
        return Ticked(true, c.linePattern == 0);
    case kCmdLinePatternFilled:
        return Ticked(true, c.linePattern == 1);
    case kCmdConnect:
        return Enabled(!c.connected);
    case kCmdDisconnect:
        return Enabled(c.connected);
    case kCmdStart:
    case kCmdOnlineDataReceive:
    case kCmdSavedFileReceive:
        return Enabled(c.connected && !c.measuring);
    case kCmdStop:
        return Enabled(c.connected && c.measuring);
    case kCmdAppExit:
    case kCmdAppAbout:
    case kCmdScreenCapture:
    case kCmdToolbarCustomize:
    case kCmdStatusBar:
    case kCmdStatusPaneRs:
    case kCmdStatusPaneEr:
        return Enabled(true);
    }
    return Enabled(true);
}

} // namespace

std::span<const CommandText> AllCommandTexts() {
    return kCommandTexts;
}

const CommandText* FindCommandText(CommandId id) {
    for (const CommandText& text : kCommandTexts) {
        if (text.id == id) {
            return &text;
        }
    }
    return nullptr;
}

CommandState EvaluateCommand(CommandId id, const CommandContext& c) {
    CommandState state = EvaluateIdleCommand(id, c);
    if (c.busy && TouchesLinkOrStore(id)) {
        state.enabled = false;
    }
    return state;
}

} // namespace varnolt
