#include "core/shell/AnalyzerSession.h"

#include "core/link/panes/LineOutputs.h"
#include "core/link/protocol/AnalyzerConnection.h"
#include "core/link/protocol/CMoniterComm.h"
#include "core/link/protocol/LinkMessages.h"
#include "core/link/reception/OnlineDownload.h"
#include "core/link/reception/ReceptionView.h"
#include "core/platform/UserPrompt.h"
#include "core/shell/CVarnoltDoc.h"

namespace varnolt {

namespace {

// Holds the link for one of the session's own operations, so that the poll and every other
// command keep away from it until it ends; MARK (may be null) is set meanwhile.
class LinkHold {
public:
    explicit LinkHold(CMoniterComm& link, bool* mark = nullptr) : link_(link), mark_(mark) {
        if (mark_ != nullptr) {
            *mark_ = true;
        }
        link_.setBusy(true);
    }
    LinkHold(const LinkHold&) = delete;
    LinkHold& operator=(const LinkHold&) = delete;
    ~LinkHold() {
        if (mark_ != nullptr) {
            *mark_ = false;
        }
        link_.setBusy(false);
    }

private:
    CMoniterComm& link_;
    bool* mark_;
};

} // namespace

AnalyzerSession::AnalyzerSession(CVarnoltDoc& document, UserPrompt& prompt, ReceptionView& view,
                                 std::function<AutoSaveOptions()> autoSave)
    : document_(document), prompt_(prompt), view_(view), autoSave_(std::move(autoSave)) {
}

AnalyzerSession::~AnalyzerSession() = default;

SessionState AnalyzerSession::state() const {
    const CMoniterComm* link = document_.link();
    if (link != nullptr && link->busy()) {
        return downloading_ ? SessionState::Downloading : SessionState::Busy;
    }
    if (!document_.connected()) {
        return SessionState::NotConnected;
    }
    return document_.measuring() ? SessionState::Measuring : SessionState::Connected;
}

SessionVerdict AnalyzerSession::Check(SessionOperation operation) const {
    return Admit(operation, state());
}

bool AnalyzerSession::admitted(SessionOperation operation) {
    const SessionVerdict verdict = Check(operation);
    if (!verdict.message.empty()) {
        prompt_.message(verdict.message, kErrorCaption, PromptIcon::Information);
    }
    return verdict.allowed();
}

CMoniterComm* AnalyzerSession::link() {
    return document_.link();
}

OnlineReception* AnalyzerSession::reception() {
    CMoniterComm* online = link();
    if (online == nullptr) {
        return nullptr;
    }
    if (!reception_) {
        reception_ = std::make_unique<OnlineReception>(ReceptionContext{
            *online, document_.capture(), document_.settings(), document_.lineStates(),
            document_.trigger(), document_.device(), autoSave_, prompt_, view_, [this] {
                // A measurement with automatic saving writes its records to
                // files as they come; a download does not.
                document_.OnNewReceivedCapture(document_.measuring() && autoSave_().enabled);
            }});
    }
    return reception_.get();
}

RingIndex AnalyzerSession::nextToDraw() const {
    return reception_ ? reception_->nextToDraw() : 0;
}

PollResult AnalyzerSession::Tick() {
    OnlineReception* online = reception();
    return online != nullptr ? online->Tick() : PollResult::Idle;
}

void AnalyzerSession::OnNewCapture() {
    if (CMoniterComm* online = link()) {
        online->setLinkState(LinkState::NotConnected);
    }
}

bool AnalyzerSession::busy() const {
    const SessionState now = state();
    return now == SessionState::Downloading || now == SessionState::Busy;
}

bool AnalyzerSession::Connect() {
    CMoniterComm* online = link();
    if (online == nullptr || !admitted(SessionOperation::Connect)) {
        return false;
    }
    if (ConnectAnalyzer(*online, prompt_) != ConnectResult::Connected) {
        return false;
    }
    document_.setHoldsCapture(true);
    return true;
}

bool AnalyzerSession::Disconnect() {
    CMoniterComm* online = link();
    return online != nullptr && admitted(SessionOperation::Disconnect) &&
           DisconnectAnalyzer(*online, prompt_) == DisconnectResult::Disconnected;
}

bool AnalyzerSession::Start() {
    OnlineReception* online = reception();
    return online != nullptr && admitted(SessionOperation::Start) && online->Start();
}

bool AnalyzerSession::Stop() {
    OnlineReception* online = reception();
    return online != nullptr && admitted(SessionOperation::Stop) && online->Stop();
}

bool AnalyzerSession::Download(DownloadProgress& progress, Pump& pump) {
    OnlineReception* online = reception();
    if (online == nullptr || !admitted(SessionOperation::Download)) {
        return false;
    }
    const LinkHold hold(*link(), &downloading_);
    return online->Download(progress, pump);
}

bool AnalyzerSession::Transmit(int32_t entry) {
    CMoniterComm* online = link();
    if (online == nullptr || !admitted(SessionOperation::Transmit)) {
        return false;
    }
    online->SendTransmit(entry);
    return true;
}

bool AnalyzerSession::ToggleLineOutput(LineSlot output) {
    CMoniterComm* online = link();
    if (online == nullptr || !admitted(SessionOperation::LineOutput)) {
        return false;
    }
    varnolt::ToggleLineOutput(*online, document_.lineStates(), output);
    view_.RefreshLineLamps(true);
    return true;
}

bool AnalyzerSession::ReadSettings(CSaParameter& target, SettingsProgress* progress) {
    CMoniterComm* online = link();
    if (online == nullptr || !admitted(SessionOperation::RemoteSettings)) {
        return false;
    }
    const LinkHold hold(*online);
    return online->ReadExtSettings(&prompt_, target, progress);
}

bool AnalyzerSession::WriteSettings(const CSaParameter& source, SettingsProgress* progress) {
    CMoniterComm* online = link();
    if (online == nullptr || !admitted(SessionOperation::RemoteSettings)) {
        return false;
    }
    const LinkHold hold(*online);
    return online->WriteExtSettings(&prompt_, source, progress);
}

int64_t AnalyzerSession::ResetCounter(int32_t counter) {
    CMoniterComm* online = link();
    if (online == nullptr || !admitted(SessionOperation::RemoteSettings)) {
        return -1;
    }
    const LinkHold hold(*online);
    return online->ResetCounter(&prompt_, counter);
}

} // namespace varnolt
