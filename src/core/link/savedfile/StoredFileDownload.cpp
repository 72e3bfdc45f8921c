#include "core/link/savedfile/StoredFileDownload.h"

#include "core/link/port/ReceiveRing.h"
#include "core/link/protocol/CMoniterComm.h"
#include "core/link/savedfile/FileDataBlock.h"

namespace varnolt {

void StoredFileDownload::Begin(int32_t number) {
    (void)link_.ReadAnswer(); // whatever waits in the ring belongs to no block
    attempts_ = 0;
    received_ = 0;
    link_.resetAnswer();
    link_.RequestFile(number);
    link_.startAnswerBudget(CMoniterComm::kAnswerBudgetMs);
}

void StoredFileDownload::reply(const char* text) {
    // The analyzer sends one block per reply: whatever else waits already is a block that
    // reached the PC twice (or late), and taking it would put its words into the file twice.
    DiscardInput(link_.port().ring());
    link_.startAnswerBudget(CMoniterComm::kAnswerBudgetMs);
    link_.resetAnswer();
    link_.SendFrame(text, FrameChecksum::Without);
}

StoredFileDownload::Step StoredFileDownload::Poll() {
    switch (link_.ReadAnswer()) {
    case AnswerCode::Fd: {
        const FileDataBlock block = InspectFileDataBlock(link_.answer());
        if (!block.intact) {
            reply("NAK"); // the analyzer sends the block again; not a failed attempt
            return Step::Running;
        }
        if (block.wordCount() > buffer_.size() - received_) {
            received_ = 0;
            return Step::TooLarge;
        }
        UnpackFileDataBlock(block, buffer_.subspan(received_, block.wordCount()));
        received_ += block.wordCount();
        attempts_ = 0;
        reply("ACK");
        return Step::Running;
    }
    case AnswerCode::Fe:
        attempts_ = 0;
        reply("ACK");
        return Step::Complete;
    case AnswerCode::Error:
    case AnswerCode::Timeout:
        reply("NAK");
        if (++attempts_ > CMoniterComm::kRetryLimit) {
            return Step::TimedOut;
        }
        return Step::Running;
    default:
        return Step::Running;
    }
}

} // namespace varnolt
