#include "core/link/reception/OnlineReception.h"

#include "core/capture/CaptureSaver.h"
#include "core/link/protocol/CMoniterComm.h"
#include "core/link/protocol/LinkMessages.h"
#include "core/link/reception/CDeviceEtc.h"
#include "core/link/reception/DataBlockParser.h"
#include "core/link/reception/LineStates.h"
#include "core/link/reception/LiveReports.h"
#include "core/link/reception/ReceivedRecords.h"
#include "core/link/reception/ReceptionView.h"
#include "core/link/reception/StatusAnswer.h"
#include "core/platform/UserPrompt.h"
#include "core/settings/CSaParameter.h"

namespace varnolt {

namespace {

// Failed attempts tolerated: past this many bad blocks, or after this many silent waits for
// the next block, the analyzer is given up.
constexpr int32_t kAttemptLimit = 3;

} // namespace

OnlineReception::OnlineReception(ReceptionContext context) : context_(std::move(context)) {
}

PollResult OnlineReception::Tick() {
    CMoniterComm& link = context_.link;
    // A failed or refused save is told without a message box: the poll must not wait for the
    // user, or the analyzer's memory fills while nobody is there to answer it.
    for (const std::string& problem : context_.store.saver().TakeSaveErrors()) {
        context_.view.ShowNotice(problem);
    }
    if (link.remoteMode() != 1) {
        if (!link.busy()) {
            link.setLinkState(LinkState::NotConnected);
        }
        attempts_ = ticks_ = 0;
        return PollResult::Idle;
    }
    if (link.busy()) {
        attempts_ = ticks_ = 0;
        return PollResult::Idle;
    }
    failedThisPass_ = false;
    if (link.runState() == CMoniterComm::kRunning) {
        measuringPass();
        context_.trigger.ExamineSlots(context_.store, received_);
    } else {
        stoppedPass();
    }
    if (!failedThisPass_) {
        return PollResult::Polled;
    }
    context_.owner.message(kCommunicationFailedMessage, kConfirmCaption, PromptIcon::Warning);
    context_.view.RefreshStatusAndPanes();
    return PollResult::CommunicationFailed;
}

void OnlineReception::fail() {
    context_.link.setLinkState(LinkState::Failed);
    failedThisPass_ = true;
}

void OnlineReception::sendNext() {
    context_.link.resetAnswer();
    context_.link.SendNext();
    lastRequest_ = "BN";
}

void OnlineReception::sendRepeat() {
    context_.link.resetAnswer();
    context_.link.SendRepeat();
    lastRequest_ = "BR";
}

void OnlineReception::stoppedPass() {
    CMoniterComm& link = context_.link;
    switch (link.linkState()) {
    case LinkState::Connected:
        link.resetAnswer();
        link.setLinkState(LinkState::SendStatusPoll);
        break;
    case LinkState::SendStatusPoll:
        ticks_ = 0;
        link.resetAnswer();
        link.SendStatusPoll();
        link.setLinkState(LinkState::AwaitStatus);
        break;
    case LinkState::AwaitStatus: {
        const AnswerCode code = link.ReadAnswer();
        if (code == AnswerCode::Nak) {
            attempts_ = 0;
            link.setLinkState(LinkState::SendStatusPoll);
        } else if (code == AnswerCode::Bl) {
            // While stopped the panes show whatever the answer left, checked or not.
            (void)ParseStatus(link.answer(),
                              {context_.lineStates, context_.settings, context_.device.status()},
                              idleValue_);
            context_.view.RefreshStatusAndPanes();
            attempts_ = 0;
            link.setLinkState(LinkState::SendStatusPoll);
        }
        if (link.linkState() == LinkState::AwaitStatus && ++ticks_ >= kStatusTicks) {
            ticks_ = 0;
            link.resetAnswer();
            link.SendStatusPoll();
            if (++attempts_ > kAttemptLimit) {
                fail();
            }
        }
        break;
    }
    default:
        break; // not connected, or given up: nothing is sent
    }
}

void OnlineReception::measuringPass() {
    CMoniterComm& link = context_.link;
    switch (link.linkState()) {
    case LinkState::Started:
        attempts_ = 0;
        link.resetAnswer();
        link.setLinkState(LinkState::SendFirstBlock);
        break;
    case LinkState::SendFirstBlock:
        ticks_ = 0;
        link.resetAnswer();
        link.SendFrame("BS", FrameChecksum::Without);
        lastRequest_ = "BS";
        link.setLinkState(LinkState::AwaitFirstBlock);
        break;
    case LinkState::AwaitFirstBlock:
        awaitFirstBlock();
        break;
    case LinkState::SendNextBlock:
        ticks_ = 0;
        sendNext();
        link.setLinkState(LinkState::AwaitNextBlock);
        break;
    case LinkState::AwaitNextBlock:
        awaitNextBlock();
        break;
    default:
        break;
    }
}

void OnlineReception::awaitFirstBlock() {
    CMoniterComm& link = context_.link;
    switch (link.ReadAnswer()) {
    case AnswerCode::Nak:
        attempts_ = 0;
        link.setLinkState(LinkState::SendFirstBlock);
        break;
    case AnswerCode::Pss:
        takeRunStateReport();
        break;
    case AnswerCode::Bd:
        if (takeAnsweredBlock()) {
            attempts_ = 0;
            link.setLinkState(LinkState::SendNextBlock);
        }
        break;
    case AnswerCode::Bl:
        if (takeLiveStatus()) {
            attempts_ = 0;
        }
        link.setLinkState(LinkState::SendNextBlock);
        break;
    default:
        break;
    }
    if (link.linkState() == LinkState::AwaitFirstBlock && ++ticks_ >= kFirstBlockTicks) {
        ticks_ = 0;
        if (++attempts_ > kAttemptLimit) {
            fail();
        } else {
            link.setLinkState(LinkState::SendFirstBlock);
        }
    }
}

void OnlineReception::awaitNextBlock() {
    CMoniterComm& link = context_.link;
    switch (link.ReadAnswer()) {
    case AnswerCode::Nak:
        attempts_ = ticks_ = 0;
        sendNext();
        break;
    case AnswerCode::Pss:
        takeRunStateReport();
        break;
    case AnswerCode::Ptr:
        if (const auto report = ParseTrigger(link.answer())) {
            context_.trigger.OnTriggerReport(context_.store, context_.store.lastIndex(), *report,
                                             received_);
        }
        sendNext();
        break;
    case AnswerCode::Bd:
        if (takeAnsweredBlock()) {
            attempts_ = ticks_ = 0;
            sendNext();
        }
        break;
    case AnswerCode::Bl:
        if (takeLiveStatus()) {
            attempts_ = ticks_ = 0;
            sendNext();
        }
        break;
    case AnswerCode::Bo:
        takeOverflow(true);
        attempts_ = ticks_ = 0;
        sendNext();
        break;
    case AnswerCode::Error:
        sendRepeat();
        break;
    default:
        break;
    }
    if (link.linkState() == LinkState::AwaitNextBlock && ++ticks_ >= kNextBlockTicks) {
        ticks_ = 0;
        ++attempts_;
        sendRepeat();
        if (attempts_ >= kAttemptLimit) {
            fail();
        }
    }
}

void OnlineReception::takeOverflow(bool draw) {
    const RingIndex first = nextToDraw_;
    AppendOverflowMark(context_.store, automaticSaving());
    sequence_.Forget(); // the analyzer skipped what it could not keep
    ++received_;
    if (draw) {
        context_.view.DrawOverflow(first);
    }
    // The mark has been drawn: the next block starts after it, so it is not drawn twice.
    nextToDraw_ = context_.store.WrapIndex(context_.store.lastIndex(), 1);
}

bool OnlineReception::takeAnsweredBlock() {
    switch (takeDataBlock(true)) {
    case BlockTaken::Appended:
        return true;
    case BlockTaken::Repeated:
        if (lastRequest_ == "BR") {
            // The analyzer repeats the block the PC already holds: the "BN" that would have
            // moved it on never reached it.
            ticks_ = 0;
            sendNext();
        } else {
            context_.link.resetAnswer(); // the answer to the request is still to come
        }
        return false;
    case BlockTaken::Bad:
        if (++attempts_ > kAttemptLimit) {
            fail();
        }
        return false;
    }
    return false;
}

OnlineReception::BlockTaken OnlineReception::takeDataBlock(bool draw) {
    const RingIndex first = nextToDraw_;
    const auto block = ParseDataBlock(context_.link.answer(), context_.store.header().recordWidth);
    if (!block) {
        return BlockTaken::Bad;
    }
    if (sequence_.Repeats(*block)) {
        return BlockTaken::Repeated;
    }
    sequence_.Taken(*block);
    const RecordCount appended = AppendDataBlock(context_.store, *block, automaticSaving());
    received_ += appended;
    if (appended > 0 && draw) {
        drawReceived(first);
    }
    return BlockTaken::Appended;
}

void OnlineReception::drawReceived(RingIndex first) {
    const CCaptureData& store = context_.store;
    context_.view.DrawReceived(first, firstBlock_);
    firstBlock_ = false;
    // Characters of record width 1 carry the control lines: the lamps show the newest.
    if (const auto field = NewestControlLineField(store, first, store.lastIndex())) {
        SetLineStatesFromControlField(context_.lineStates, *field);
    }
    nextToDraw_ = store.WrapIndex(store.lastIndex(), 1);
    if (store.header().recordWidth == 1) {
        context_.view.RefreshLineLamps(true);
    }
}

bool OnlineReception::takeLiveStatus() {
    if (!ParseStatus(context_.link.answer(),
                     {context_.lineStates, context_.settings, context_.device.status()},
                     idleValue_)) {
        return false;
    }
    context_.view.RefreshLineLamps(context_.store.header().recordWidth == 1);
    if (context_.settings.idleDisplay != 0 && context_.settings.displayMode == 0) {
        context_.view.DrawLiveIdle(nextToDraw_, idleValue_);
    }
    context_.view.RefreshDevicePane();
    return true;
}

void OnlineReception::takeRunStateReport() {
    if (ParseRunState(context_.link.answer()) == CMoniterComm::kStopped) {
        Stop();
    }
}

} // namespace varnolt
