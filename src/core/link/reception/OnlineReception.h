#pragma once

#include "core/capture/AutomaticSave.h"
#include "core/capture/CCaptureData.h"
#include "core/link/reception/BlockSequence.h"
#include "core/link/reception/CTrigger.h"
#include "core/link/reception/LineStates.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace varnolt {

class CDeviceEtc;
class CMoniterComm;
class CSaParameter;
class DownloadProgress;
class Pump;
class ReceptionView;
class UserPrompt;

// What online reception works on, all owned elsewhere (the document, the main frame).
struct ReceptionContext {
    CMoniterComm& link;
    CCaptureData& store;
    CSaParameter& settings;
    LineStates& lineStates;
    CTrigger& trigger;
    CDeviceEtc& device;
    // Automatic saving as the user has set it up now.
    std::function<AutoSaveOptions()> autoSave;
    UserPrompt& owner; // the message boxes
    ReceptionView& view;
    // Renews the document as for a new document (capture reset from the settings, line
    // states and status block cleared).
    std::function<void()> renewDocument;
};

// How a pass of the poll ended.
enum class PollResult {
    Idle,                // nothing to do: not connected, or a modal operation holds the link
    Polled,              // one step of the exchange
    CommunicationFailed, // this pass gave up on the analyzer: link state 100, message shown
};

// The data-format version the analyzer answers as text ("0110"), as a number (110); 0 when the
// text holds no number.
[[nodiscard]] int32_t FormatVersionNumber(const std::string& text);

// What the user is told when the analyzer measures with control-line capture ANALYZER_WIDTH (1
// on, 0 off) while the PC's settings say otherwise.
[[nodiscard]] std::string RecordWidthDiffersNotice(uint16_t analyzerWidth);

// Online reception: the 10 ms poll and the start, stop and download commands. Everything runs
// on the user-interface thread.
//
// How the view and the frame drive it:
// - Tick() from the view's single-shot 10 ms timer, re-armed after each pass so passes never
//   overlap; it shows "アナライザーとの通信に失敗しました" itself when it gives up.
// - Start() for update code 20 ("開始"), Stop() for 21 ("停止", and when closing the window
//   during a measurement, before disconnecting), Download() for 13 ("オンラインデータ受信")
//   with the link's busy flag set around it by the frame.
// - Newly received records, overflow marks, the live idle value and every refresh reach the
//   view through ReceptionView; the records themselves are read from the store.
class OnlineReception {
public:
    // Ticks without a usable answer before a request is repeated.
    static constexpr int32_t kStatusTicks = 200;
    static constexpr int32_t kFirstBlockTicks = 200;
    static constexpr int32_t kNextBlockTicks = 50;

    explicit OnlineReception(ReceptionContext context);

    // One pass of the poll: at most one request sent and one answer handled. Collects the
    // background saves' file errors first. On CommunicationFailed the message has been shown
    // and the status bar and panes refreshed.
    PollResult Tick();

    // "開始": refuses with "自動ファイル保存先が存在しません" while automatic saving has no
    // folder; otherwise reads the format version and the settings into the capture header,
    // switches the analyzer to measuring and, whether that succeeded or not, renews the
    // capture with the ring sized to one automatic file. Returns whether it measures.
    bool Start();
    // "停止" (also the analyzer's own stop report): switches the analyzer to stopped, fetches
    // the blocks it recorded since the last poll until it reports none, and saves the last
    // partial bank when saving automatically; refreshes the status bar and panes either way.
    // Returns whether it stopped.
    bool Stop();
    // "オンラインデータ受信": fetches the analyzer's stored measurement into a renewed capture,
    // showing its progress; PUMP keeps the window alive between blocks. Returns whether the
    // data arrived complete.
    bool Download(DownloadProgress& progress, Pump& pump);

    // ---- State kept for the poll -------------------------------------------------------------
    [[nodiscard]] int32_t attempts() const { return attempts_; }
    [[nodiscard]] int32_t ticks() const { return ticks_; }
    [[nodiscard]] RingIndex nextToDraw() const { return nextToDraw_; }
    // The running idle value of the latest status answer.
    [[nodiscard]] uint32_t lastIdleValue() const { return idleValue_; }
    // Records received since the measurement started (overflow marks included).
    [[nodiscard]] ReceivedCount received() const { return received_; }

private:
    void measuringPass();
    void stoppedPass();
    void awaitFirstBlock();
    void awaitNextBlock();
    enum class BlockTaken { Appended, Repeated, Bad };
    // Handles a data block: appended (and drawn with DRAW), left out as one already held, or
    // bad.
    BlockTaken takeDataBlock(bool draw);
    // The data block that answers the request: true when appended; one already held leaves
    // the wait going, unless it answers "BR": then the "BN" before never reached the analyzer
    // and is sent again. A bad one counts as a failed attempt.
    bool takeAnsweredBlock();
    // An overflow report: the mark is appended (and drawn with DRAW).
    void takeOverflow(bool draw);
    // After the analyzer has stopped: fetches what it recorded since the last poll, until it
    // answers "BN" with its status or its stop report. False when it stopped answering.
    bool FetchRemainingBlocks();
    // A status answer during a measurement; false when its checksum failed.
    bool takeLiveStatus();
    // A "PSS" report: the analyzer stopped by itself.
    void takeRunStateReport();
    void drawReceived(RingIndex first);
    void sendNext();
    void sendRepeat();
    void fail();
    [[nodiscard]] bool automaticSaving() const { return context_.autoSave().enabled; }

    ReceptionContext context_;
    int32_t attempts_ = 0;
    int32_t ticks_ = 0;
    RingIndex nextToDraw_ = 0;
    uint32_t idleValue_ = 0;
    ReceivedCount received_ = 0;
    bool firstBlock_ = true;
    // The last block request sent: "BS", "BN" or "BR".
    std::string_view lastRequest_;
    bool failedThisPass_ = false;
    BlockSequence sequence_;
};

} // namespace varnolt
