// What the analyzer recorded between the poll's last block and its stop: fetched block by block
// once it has stopped, so the capture and the last automatic file end where its memory ends.
#include "core/link/protocol/CMoniterComm.h"
#include "core/link/reception/LiveReports.h"
#include "core/link/reception/OnlineReception.h"

namespace varnolt {

namespace {

// Failed answers tolerated in a row, as for any block.
constexpr int kRetryLimit = 3;

// The request that carries on from where the poll stood when the measurement stopped. An
// answer it was waiting for may have been swept away by the stop's exchange, so the analyzer is
// asked to repeat it rather than to move on past it.
std::string_view RequestAfterPoll(LinkState state) {
    switch (state) {
    case LinkState::Started:
    case LinkState::SendFirstBlock:
        return "BS"; // nothing asked for yet
    case LinkState::SendNextBlock:
        return "BN"; // the last block was taken
    default:
        return "BR";
    }
}

} // namespace

bool OnlineReception::FetchRemainingBlocks() {
    CMoniterComm& link = context_.link;
    std::string_view request = RequestAfterPoll(link.linkState());
    int attempts = 0;
    int statusesInARow = 0; // answers to "BN" that carried no data
    for (;;) {
        link.resetAnswer();
        link.SendFrame(request, FrameChecksum::Without);
        lastRequest_ = request;
        link.startAnswerBudget(CMoniterComm::kAnswerBudgetMs);
        bool failed = false;
        bool answered = false;
        while (!answered && !failed) {
            switch (link.ReadAnswer()) {
            case AnswerCode::Incomplete:
                link.services().answerWait.waitForAnswer();
                break;
            case AnswerCode::Bd: {
                const BlockTaken taken = takeDataBlock(false);
                if (taken == BlockTaken::Bad) {
                    failed = true;
                    request = "BR";
                } else if (taken == BlockTaken::Appended || request == "BR") {
                    // A block already held that answers "BR": the request before it never
                    // reached the analyzer, so it is asked for the next one.
                    if (taken == BlockTaken::Appended) {
                        attempts = statusesInARow = 0;
                    }
                    request = "BN";
                    answered = true;
                } else {
                    link.resetAnswer(); // a late copy: the answer is still to come
                }
                break;
            }
            case AnswerCode::Pss:
                return true; // stopped with everything delivered
            case AnswerCode::Bl:
                // The status on "BR" may be an old answer from before the last records, and the
                // analyzer also puts a status between blocks now and then while data waits:
                // only two statuses in a row on "BN" say that nothing is left.
                if (request != "BR" && ++statusesInARow >= 2) {
                    return true;
                }
                request = "BN";
                answered = true;
                break;
            case AnswerCode::Ptr:
                if (const auto report = ParseTrigger(link.answer())) {
                    context_.trigger.OnTriggerReport(context_.store, context_.store.lastIndex(),
                                                     *report, received_);
                }
                statusesInARow = 0;
                request = "BN";
                answered = true;
                break;
            case AnswerCode::Bo:
                takeOverflow(false);
                statusesInARow = 0;
                request = "BN";
                answered = true;
                break;
            case AnswerCode::Nak:
                failed = true; // refused, not carried out: the same request again
                break;
            default:
                failed = true;
                request = "BR";
                break;
            }
        }
        if (failed && ++attempts > kRetryLimit) {
            return false;
        }
    }
}

} // namespace varnolt
