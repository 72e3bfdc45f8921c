#pragma once

#include "core/capture/AutomaticSave.h"
#include "core/capture/CCaptureData.h"
#include "core/link/reception/LineStates.h"
#include "core/link/reception/OnlineReception.h"
#include "core/shell/SessionRules.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace varnolt {

class CMoniterComm;
class CSaParameter;
class CVarnoltDoc;
class DownloadProgress;
class Pump;
class ReceptionView;
class SettingsProgress;
class UserPrompt;

// The one measurement session: the document's capture, settings and link, and every operation
// that exchanges with the analyzer. The window, a command-line loop and the tests drive the
// same object: each calls Tick() every 10 ms (never two passes at once) and the commands
// between ticks, all on one thread. What the session does reaches the front end through
// ReceptionView (records to draw, lamps, panes, layout) and UserPrompt (messages); the link's
// condition listener tells of every change of state.
//
// Each command first asks Admit() whether the session's state allows it; a refused command
// shows its message (when it has one) and returns false without touching the link.
class AnalyzerSession {
public:
    AnalyzerSession(CVarnoltDoc& document, UserPrompt& prompt, ReceptionView& view,
                    std::function<AutoSaveOptions()> autoSave);
    AnalyzerSession(const AnalyzerSession&) = delete;
    AnalyzerSession& operator=(const AnalyzerSession&) = delete;
    ~AnalyzerSession();

    [[nodiscard]] SessionState state() const;
    // Whether OPERATION may run now, without showing anything.
    [[nodiscard]] SessionVerdict Check(SessionOperation operation) const;

    // One pass of online reception (the 10 ms timer). Idle without a link.
    PollResult Tick();
    // A capture was created or opened: the poll starts over as for an analyzer not connected.
    void OnNewCapture();
    // A download or a dialog's operation holds the link.
    [[nodiscard]] bool busy() const;

    // "接続": true when the analyzer was brought into remote mode; the document then holds a
    // capture.
    bool Connect();
    // "切断": true when remote mode was left.
    bool Disconnect();
    // "開始", "停止": true when the analyzer measures, or stopped.
    bool Start();
    bool Stop();
    // "オンラインデータ受信": the analyzer's stored measurement into a renewed capture, with
    // the link held for the session meanwhile (state Downloading). True when it arrived whole.
    bool Download(DownloadProgress& progress, Pump& pump);
    // A transmit entry of the transmit pane.
    bool Transmit(int32_t entry);
    // The RS or ER output (kLineRs, kLineEr) toggled; the lamps are refreshed.
    bool ToggleLineOutput(LineSlot output);
    // Remote read and write of every settings block, and the counter reset; PROGRESS may be
    // null. The reset answers the counter's value, or -1 (refused included).
    bool ReadSettings(CSaParameter& target, SettingsProgress* progress);
    bool WriteSettings(const CSaParameter& source, SettingsProgress* progress);
    [[nodiscard]] int64_t ResetCounter(int32_t counter);

    // Where the next received record goes on the live page; 0 before any reception.
    [[nodiscard]] RingIndex nextToDraw() const;
    // Online reception, made on first use; null without a link.
    [[nodiscard]] OnlineReception* reception();

private:
    // Shows the refusal's message; true when OPERATION may run.
    bool admitted(SessionOperation operation);
    // The link for an admitted operation; null without one.
    [[nodiscard]] CMoniterComm* link();

    CVarnoltDoc& document_;
    UserPrompt& prompt_;
    ReceptionView& view_;
    std::function<AutoSaveOptions()> autoSave_;
    std::unique_ptr<OnlineReception> reception_;
    bool downloading_ = false;
};

} // namespace varnolt
