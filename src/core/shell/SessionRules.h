#pragma once

#include <span>
#include <string_view>

namespace varnolt {

// Where the measurement session stands, as every front end sees it.
enum class SessionState {
    NotConnected, // no link, or the analyzer is not in remote mode
    Connected,    // remote mode, the analyzer stopped
    Measuring,    // a measurement runs and the poll receives it
    Downloading,  // the stored-data download holds the link
    Busy,         // another operation (a dialog's exchange) holds the link
};

// The operations that exchange with the analyzer.
enum class SessionOperation {
    Connect,
    Disconnect,
    Start,
    Stop,
    Download,
    Transmit,
    LineOutput,
    RemoteSettings, // settings read or write, the counter reset
    SavedFiles,
    ScreenCapture,
    FirmwareUpdate,
};

// Why an operation is refused. The window disables a refused command; only a disconnect
// during a measurement has a message of its own.
enum class SessionRefusal {
    None,
    NotConnected,
    AlreadyConnected,
    Measuring,
    NotMeasuring,
    LinkBusy, // a download or a dialog's operation holds the link
};

struct SessionVerdict {
    SessionRefusal refusal = SessionRefusal::None;
    std::string_view message; // shown when refused; empty when the refusal is silent

    [[nodiscard]] bool allowed() const { return refusal == SessionRefusal::None; }
};

// Whether OPERATION may run in STATE. One rule for every front end: while an operation holds
// the link nothing else may mix its exchanges into it.
[[nodiscard]] SessionVerdict Admit(SessionOperation operation, SessionState state);

[[nodiscard]] std::span<const SessionOperation> AllSessionOperations();
[[nodiscard]] std::span<const SessionState> AllSessionStates();

} // namespace varnolt
