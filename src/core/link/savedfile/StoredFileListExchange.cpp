#include "core/link/savedfile/StoredFileListExchange.h"

#include "core/link/protocol/CMoniterComm.h"

namespace varnolt {

void StoredFileListExchange::Begin() {
    (void)link_.ReadAnswer(); // whatever waits in the ring belongs to no entry
    link_.resetAnswer();
    attempts_ = 0;
    request();
}

void StoredFileListExchange::request() {
    link_.resetAnswer();
    link_.SendFrame("DR", FrameChecksum::Without);
    link_.startAnswerBudget(CMoniterComm::kAnswerBudgetMs);
}

void StoredFileListExchange::acknowledge() {
    link_.startAnswerBudget(CMoniterComm::kAnswerBudgetMs);
    attempts_ = 0;
    link_.resetAnswer();
    link_.SendFrame("ACK", FrameChecksum::Without);
}

StoredFileListExchange::Step StoredFileListExchange::Poll(std::vector<StoredFileRow>& rows) {
    switch (link_.ReadAnswer()) {
    case AnswerCode::Dd:
        if (const std::optional<StoredFileEntry> entry = DecodeListEntry(link_.answer())) {
            if (entry->listed) {
                InsertListEntry(rows, *entry);
            }
            acknowledge();
            return Step::Running;
        }
        [[fallthrough]]; // an entry too short to read is a garbled answer
    case AnswerCode::Error:
    case AnswerCode::Timeout:
        link_.startAnswerBudget(CMoniterComm::kAnswerBudgetMs);
        link_.resetAnswer();
        if (++attempts_ > CMoniterComm::kRetryLimit) {
            return Step::TimedOut;
        }
        request();
        return Step::Running;
    case AnswerCode::De:
        acknowledge();
        return Step::Complete;
    case AnswerCode::Ack:
        return Step::TimedOut;
    default:
        return Step::Running;
    }
}

} // namespace varnolt
