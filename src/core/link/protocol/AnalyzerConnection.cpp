#include "core/link/protocol/AnalyzerConnection.h"

#include "core/link/protocol/CMoniterComm.h"
#include "core/link/protocol/LinkMessages.h"
#include "core/platform/UserPrompt.h"

namespace varnolt {

ConnectResult ConnectAnalyzer(CMoniterComm& link, UserPrompt& owner) {
    if (link.remoteMode() == 1) {
        return ConnectResult::AlreadyConnected;
    }
    link.resetAnswer();
    if (!link.SetRemote(&owner, 1)) {
        return ConnectResult::Failed;
    }
    // A failed page query leaves the page it had before.
    (void)link.GetPage(&owner);
    if (link.page() != CMoniterComm::kPowerOnPage) {
        link.SetRemote(&owner, 0);
        owner.message(kSwitchToPowerOnScreenMessage, kErrorCaption, PromptIcon::Information);
        return ConnectResult::WrongPage;
    }
    if (!link.SetRunState(&owner, CMoniterComm::kStopped)) {
        return ConnectResult::Failed;
    }
    link.setRunStateValue(CMoniterComm::kStopped);
    link.setLinkState(LinkState::Connected);
    return ConnectResult::Connected;
}

DisconnectResult DisconnectAnalyzer(CMoniterComm& link, UserPrompt& owner) {
    if (link.runState() == CMoniterComm::kRunning) {
        owner.message(kCannotDisconnectWhileRunningMessage, kErrorCaption, PromptIcon::Information);
        return DisconnectResult::Refused;
    }
    if (link.remoteMode() != 1) {
        return DisconnectResult::NotConnected;
    }
    link.setLinkState(LinkState::NotConnected);
    link.SetRemote(&owner, 0);
    return DisconnectResult::Disconnected;
}

bool ConfirmCloseWhileRunning(const CMoniterComm& link, UserPrompt& owner) {
    if (link.runState() != CMoniterComm::kRunning) {
        return true;
    }
    return owner.ask(kQuitWhileRunningQuestion, kConfirmCaption, PromptButtons::OkCancel,
                     PromptIcon::Information) == PromptAnswer::Ok;
}

bool ConfirmCloseWhileBusy(CMoniterComm& link, UserPrompt& owner) {
    if (owner.ask(kQuitWhileBusyQuestion, kConfirmCaption, PromptButtons::OkCancel,
                  PromptIcon::Information) != PromptAnswer::Ok) {
        return false;
    }
    link.RequestCancel();
    return true;
}

} // namespace varnolt
