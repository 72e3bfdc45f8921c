#include "core/link/reception/OnlineDownload.h"

#include "core/capture/CCaptureData.h"
#include "core/link/protocol/CMoniterComm.h"
#include "core/link/protocol/LinkMessages.h"
#include "core/link/reception/BlockSequence.h"
#include "core/link/reception/DataBlockParser.h"
#include "core/link/reception/MeasurementMessages.h"
#include "core/link/reception/OnlineReception.h"
#include "core/link/reception/ReceivedRecords.h"
#include "core/link/reception/ReceptionView.h"
#include "core/platform/Pump.h"
#include "core/platform/UserPrompt.h"

#include <string>
#include <string_view>

namespace varnolt {

namespace {

constexpr int kBlockRetryLimit = 3;

enum class BlockOutcome {
    Stored,    // a block was appended
    Repeated,  // the analyzer repeated a block already stored: the next one is still to ask for
    Finished,  // the analyzer has nothing more
    Failed,    // refused, garbled or not answered: the block is asked for again
    Cancelled, // the user asked the download to end (closing the window)
};

// Waits for the answer to a block request and stores the block. A block already stored (an
// answer that arrived twice or late) is passed over while the answer to REQUEST is awaited;
// as the answer to a repetition ("BR") it means the analyzer never carried out the request
// before it.
BlockOutcome AwaitBlock(CMoniterComm& link, CCaptureData& store, BlockSequence& sequence,
                        std::string_view request, Pump& pump) {
    for (;;) {
        pump.pump();
        if (link.cancelRequested()) {
            return BlockOutcome::Cancelled;
        }
        switch (link.ReadAnswer()) {
        case AnswerCode::Bd: {
            const auto block = ParseDataBlock(link.answer(), store.header().recordWidth);
            if (!block) {
                return BlockOutcome::Failed;
            }
            if (sequence.Repeats(*block)) {
                if (request == "BR") {
                    return BlockOutcome::Repeated;
                }
                link.resetAnswer();
                break;
            }
            sequence.Taken(*block);
            AppendDataBlock(store, *block, false);
            return BlockOutcome::Stored;
        }
        case AnswerCode::Bl:
        case AnswerCode::Psr:
        case AnswerCode::Pss:
            return BlockOutcome::Finished;
        case AnswerCode::Nak:
        case AnswerCode::Error:
        case AnswerCode::Timeout:
            return BlockOutcome::Failed;
        default:
            link.services().answerWait.waitForAnswer();
            break;
        }
    }
}

} // namespace

int32_t DownloadPercent(int32_t last, int32_t amount, uint16_t recordWidth) {
    const int32_t full = recordWidth == 1 ? kFullMemoryRecordsWide : kFullMemoryRecordsNarrow;
    // Signed 32-bit arithmetic as the analyzer's own tools do it; wide enough for every
    // amount up to 100 hundredths and beyond.
    const int64_t expected = int64_t{amount} * full / 100;
    if (expected <= 0) {
        return 0;
    }
    return static_cast<int32_t>(int64_t{last} * 100 / expected);
}

bool DownloadOnlineData(CMoniterComm& link, UserPrompt& owner, CCaptureData& store,
                        DownloadProgress& progress, int32_t amount, Pump& pump) {
    const WaitCursorScope cursor(link.services().waitCursor);
    if (!link.port().isOpen() && !link.port().Open()) {
        owner.message(AnalyzerAbsentMessage(link.port().accessRefused()), kConfirmCaption,
                      PromptIcon::Warning);
        owner.message(kCommunicationFailedMessage, kConfirmCaption, PromptIcon::Warning);
        return false;
    }
    (void)link.ReadAnswer(); // whatever waits in the ring belongs to no block
    int attempts = 0;
    int32_t shownPercent = 0;
    BlockSequence sequence;
    std::string_view request = "BA";
    for (;;) {
        link.resetAnswer();
        link.SendFrame(request, FrameChecksum::Without);
        link.startAnswerBudget(CMoniterComm::kAnswerBudgetMs);
        const BlockOutcome outcome = AwaitBlock(link, store, sequence, request, pump);
        switch (outcome) {
        case BlockOutcome::Finished:
            return true;
        case BlockOutcome::Cancelled:
            return false; // what arrived stays; the user asked for it, so nothing is shown
        case BlockOutcome::Stored:
            attempts = 0;
            request = "BB";
            if (store.lastIndex() != 0) {
                const int32_t percent =
                    DownloadPercent(store.lastIndex(), amount, store.header().recordWidth);
                if (percent != shownPercent) {
                    shownPercent = percent;
                    progress.ShowProgress(percent);
                }
            }
            break;
        case BlockOutcome::Repeated:
        case BlockOutcome::Failed:
            if (++attempts > kBlockRetryLimit) {
                owner.message(kCommunicationFailedMessage, kConfirmCaption, PromptIcon::Warning);
                return false;
            }
            request = outcome == BlockOutcome::Repeated ? "BB" : "BR";
            break;
        }
    }
}

bool OnlineReception::Download(DownloadProgress& progress, Pump& pump) {
    CMoniterComm& link = context_.link;
    if (link.remoteMode() != 1) {
        return false;
    }
    const int32_t amount = link.GetStoredAmount(&context_.owner);
    if (amount == 0) {
        context_.owner.message(kNoStoredDataMessage, kMessageCaption, PromptIcon::Information);
        return false;
    }
    std::string version;
    if (!link.GetFormatVersion(version)) {
        context_.owner.message(kCommunicationFailedMessage, kConfirmCaption, PromptIcon::Warning);
        return false;
    }
    context_.renewDocument();
    context_.store.header().formatVersion = FormatVersionNumber(version);
    if (!link.ReadSettings(&context_.owner, context_.store, false)) {
        context_.view.OnDownloadEnded();
        return false;
    }
    const bool complete =
        DownloadOnlineData(link, context_.owner, context_.store, progress, amount, pump);
    context_.view.OnDownloadEnded();
    context_.view.RefreshStatusAndPanes();
    return complete;
}

} // namespace varnolt
