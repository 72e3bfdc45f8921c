#include "core/shell/SessionRules.h"

#include "core/link/protocol/LinkMessages.h"

#include <array>

namespace varnolt {

namespace {

constexpr std::array kOperations{
    SessionOperation::Connect,       SessionOperation::Disconnect,     SessionOperation::Start,
    SessionOperation::Stop,          SessionOperation::Download,       SessionOperation::Transmit,
    SessionOperation::LineOutput,    SessionOperation::RemoteSettings, SessionOperation::SavedFiles,
    SessionOperation::ScreenCapture, SessionOperation::FirmwareUpdate,
};

constexpr std::array kStates{SessionState::NotConnected, SessionState::Connected,
                             SessionState::Measuring, SessionState::Downloading,
                             SessionState::Busy};

constexpr SessionVerdict kAllowed{};

constexpr SessionVerdict Refused(SessionRefusal refusal) {
    return {refusal, {}};
}

// The rules while nothing holds the link.
SessionVerdict AdmitIdle(SessionOperation operation, SessionState state) {
    const bool connected = state != SessionState::NotConnected;
    const bool measuring = state == SessionState::Measuring;
    switch (operation) {
    case SessionOperation::Connect:
        return connected ? Refused(SessionRefusal::AlreadyConnected) : kAllowed;
    case SessionOperation::Disconnect:
        if (measuring) {
            return {SessionRefusal::Measuring, kCannotDisconnectWhileRunningMessage};
        }
        return connected ? kAllowed : Refused(SessionRefusal::NotConnected);
    case SessionOperation::Start:
    case SessionOperation::Download:
    case SessionOperation::SavedFiles:
        if (!connected) {
            return Refused(SessionRefusal::NotConnected);
        }
        return measuring ? Refused(SessionRefusal::Measuring) : kAllowed;
    case SessionOperation::Stop:
        if (!connected) {
            return Refused(SessionRefusal::NotConnected);
        }
        return measuring ? kAllowed : Refused(SessionRefusal::NotMeasuring);
    case SessionOperation::Transmit:
    case SessionOperation::LineOutput:
        // Sent whether or not the analyzer is in remote mode; no answer is awaited.
        return kAllowed;
    case SessionOperation::RemoteSettings:
    case SessionOperation::ScreenCapture:
        // Each opens the link itself when not connected, but never mixes into the poll's
        // exchange of a measurement.
        return measuring ? Refused(SessionRefusal::Measuring) : kAllowed;
    case SessionOperation::FirmwareUpdate:
        return connected ? Refused(SessionRefusal::AlreadyConnected) : kAllowed;
    }
    return kAllowed;
}

} // namespace

SessionVerdict Admit(SessionOperation operation, SessionState state) {
    if (state == SessionState::Downloading || state == SessionState::Busy) {
        return Refused(SessionRefusal::LinkBusy);
    }
    return AdmitIdle(operation, state);
}

std::span<const SessionOperation> AllSessionOperations() {
    return kOperations;
}

std::span<const SessionState> AllSessionStates() {
    return kStates;
}

} // namespace varnolt
