#include "core/link/protocol/CMoniterComm.h"

#include "core/capture/CCaptureData.h"
#include "core/link/protocol/FrameTerminator.h"
#include "core/link/protocol/HexDigits.h"
#include "core/link/protocol/HexFormat.h"
#include "core/link/protocol/LinkMessages.h"
#include "core/platform/Clock.h"
#include "core/platform/UserPrompt.h"
#include "core/settings/CSaParameter.h"
#include "core/settings/HexText.h"
#include "core/settings/SettingsBlockCodec.h"

#include <algorithm>

namespace varnolt {

namespace {

void Warn(UserPrompt* owner, std::string_view text) {
    if (owner != nullptr) {
        owner->message(text, kConfirmCaption, PromptIcon::Warning);
    }
}

// Whether ANSWER holds at least PAYLOAD bytes between its first OFFSET bytes and the
// terminator, so that fixed positions can be read without running past it.
bool HasPayload(std::span<const uint8_t> answer, size_t offset, size_t payload) {
    return answer.size() >= offset + payload + kFrameTerminator.size();
}

// A version text: every space and every '.' becomes '0'.
std::string VersionText(std::span<const uint8_t> characters) {
    std::string text(characters.begin(), characters.end());
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == ' ' || c == '.'; }, '0');
    return text;
}

// The leading decimal digits of DIGITS as a number; no digits give 0.
int32_t LeadingDecimal(std::span<const uint8_t> digits) {
    int32_t value = 0;
    for (const uint8_t digit : digits) {
        if (digit < '0' || digit > '9') {
            break;
        }
        value = value * 10 + (digit - '0');
    }
    return value;
}

// "SRE" or "SWE" and four address digits open a settings block frame.
constexpr size_t kBlockHead = 7;
// The two checksum characters and the terminator close a checksummed answer.
constexpr size_t kChecksummedTail = 2 + kFrameTerminator.size();

// Progress of a settings transfer as it reaches the block at ADDRESS: 10 for the first two
// blocks, then 4 more per transmit block, 106 at the last.
int SettingsTransferProgress(SettingsBlockAddress address) {
    if (address < kFirstTxBlockAddress) {
        return 10;
    }
    return 10 + 4 * ((address - kFirstTxBlockAddress) / kSettingsBlockStep);
}

char LineOutputCharacter(int32_t state) {
    return state == 1 ? '1' : '2';
}

} // namespace

CMoniterComm::CMoniterComm(const LinkServices& services)
    : services_(services), answer_(kAnswerAreaBytes),
      port_(services.api, services.prompt, services.clock,
            services.ring != nullptr ? *services.ring : ReceiveRing::processRing()) {
    port_.LoadD2xx();
}

CMoniterComm::~CMoniterComm() = default;

std::span<const uint8_t> CMoniterComm::answer() const {
    return std::span<const uint8_t>(answer_.data(), static_cast<size_t>(answerLength_));
}

void CMoniterComm::startAnswerBudget(uint32_t budgetMs) {
    answerStart_ = services_.clock.tickMs();
    answerBudget_ = budgetMs;
}

AnswerCode CMoniterComm::ReadAnswer() {
    if (!port_.isOpen()) {
        return AnswerCode::Error;
    }
    AnswerCode code = AnswerCode::Incomplete;
    int32_t count = 0;
    switch (ReadRing(port_.ring(), answer_, answerLength_, count)) {
    case RingReadStatus::Taken:
        answerLength_ += count;
        if (answerLength_ >= 4 && EndsWithTerminator(answer())) {
            code = ClassifyAnswer(answer());
        }
        break;
    case RingReadStatus::Nothing:
        break;
    case RingReadStatus::AreaFull:
        answerLength_ += count;
        code = AnswerCode::Error;
        break;
    }
    if (answerLength_ > kAnswerAreaLimit) {
        code = AnswerCode::Error;
    }
    if (code == AnswerCode::Incomplete) {
        const uint32_t now = services_.clock.tickMs();
        if (now < answerStart_) {
            answerStart_ = now; // the tick count wrapped: the budget starts afresh
        } else if (now - answerStart_ > answerBudget_) {
            code = AnswerCode::Timeout;
        }
    }
    return code;
}

bool CMoniterComm::ensureOpen(UserPrompt* owner, bool silent) {
    // A bridge that vanished under an open port (unplugged) is opened afresh; its old handle
    // would refuse every request until the program ends.
    if (port_.isOpen() && port_.deviceLost()) {
        port_.Close();
    }
    if (port_.isOpen() || port_.Open()) {
        return true;
    }
    if (!silent) {
        Warn(owner, AnalyzerAbsentMessage(port_.accessRefused()));
    }
    return false;
}

bool CMoniterComm::exchange(UserPrompt* owner, const Exchange& request) {
    if (!ensureOpen(owner, request.silent) && !request.silent) {
        Warn(owner, kCommunicationFailedMessage);
        return false;
    }
    // Whatever waits in the ring belongs to no exchange of ours.
    (void)ReadAnswer();
    answerLength_ = 0;
    int attempts = 0;
    for (;;) {
        answerLength_ = 0;
        port_.Write(request.frame);
        startAnswerBudget(kAnswerBudgetMs);
        for (;;) {
            const AnswerCode code = ReadAnswer();
            if (code == request.expected || code == request.alsoExpected) {
                const bool checked =
                    (!request.checksummedAnswer || VerifyAnswerChecksum(answer())) &&
                    (!request.accept || request.accept(answer()));
                if (checked) {
                    return true;
                }
                break;
            }
            if (code == AnswerCode::Nak || code == AnswerCode::Error ||
                code == AnswerCode::Timeout) {
                break;
            }
            // Not complete, or an answer of another exchange: keep waiting (the latter ends in
            // a time-out, since the area keeps its letters).
            services_.answerWait.waitForAnswer();
        }
        if (++attempts > request.retryLimit) {
            if (!request.silent) {
                Warn(owner, kCommunicationFailedMessage);
            }
            return false;
        }
    }
}

template <typename Change>
void CMoniterComm::ChangeState(Change&& change) {
    const LinkCondition before = condition();
    change();
    if (listener_ && condition() != before) {
        listener_();
    }
}

LinkCondition CMoniterComm::condition() const {
    return {remoteMode_ == 1, runState_ == kRunning, busy_, linkState_ == LinkState::Failed};
}

void CMoniterComm::setLinkState(LinkState state) {
    ChangeState([&] { linkState_ = state; });
}

void CMoniterComm::setRunStateValue(int32_t state) {
    ChangeState([&] { runState_ = state; });
}

void CMoniterComm::setBusy(bool busy) {
    ChangeState([&] {
        busy_ = busy;
        if (busy) {
            cancelRequested_ = false;
        }
    });
}

void CMoniterComm::setRemoteMode(uint8_t mode) {
    ChangeState([&] { remoteMode_ = mode; });
}

bool CMoniterComm::SetRemote(UserPrompt* owner, uint8_t mode) {
    const WaitCursorScope cursor(services_.waitCursor);
    Exchange request;
    request.frame = BuildFrame(mode == 1 ? "ENW01" : "ENW00", FrameChecksum::With);
    if (!exchange(owner, request)) {
        setRemoteMode(0);
        setLinkState(LinkState::NotConnected);
        return false;
    }
    setRemoteMode(mode);
    if (mode == 1) {
        setLinkState(LinkState::Connected);
    } else {
        setLinkState(LinkState::NotConnected);
        port_.Close();
    }
    return true;
}

bool CMoniterComm::queryVersion(std::string_view command, size_t digits, std::string& text) {
    Exchange request;
    request.frame = BuildFrame(command, FrameChecksum::Without);
    request.silent = true;
    request.accept = [&text, digits](std::span<const uint8_t> answer) {
        if (!HasPayload(answer, 3, digits)) {
            return false;
        }
        text = VersionText(answer.subspan(3, digits));
        return true;
    };
    return exchange(nullptr, request);
}

bool CMoniterComm::GetProgramVersion(std::string& text) {
    return queryVersion("VER", 6, text);
}

bool CMoniterComm::GetFormatVersion(std::string& text) {
    return queryVersion("VEF", 4, text);
}

bool CMoniterComm::GetPage(UserPrompt* owner) {
    const WaitCursorScope cursor(services_.waitCursor);
    Exchange request;
    request.frame = BuildFrame("PGR", FrameChecksum::Without);
    request.expected = request.alsoExpected = AnswerCode::Pgr;
    request.checksummedAnswer = true;
    int32_t page = kOtherPage;
    request.accept = [&page](std::span<const uint8_t> answer) {
        if (!HasPayload(answer, 3, 2)) {
            return false;
        }
        const uint8_t value = ParseHexPair(answer[3], answer[4]);
        page = value == kPowerOnPage || value == kPage15 ? value : kOtherPage;
        return true;
    };
    if (!exchange(owner, request)) {
        return false;
    }
    page_ = page;
    return true;
}

bool CMoniterComm::SetRunState(UserPrompt* owner, int32_t value) {
    const WaitCursorScope cursor(services_.waitCursor);
    std::string text = "PSW";
    AppendHex(text, static_cast<uint32_t>(value), 2);
    Exchange request;
    request.frame = BuildFrame(text, FrameChecksum::With);
    return exchange(owner, request);
}

int32_t CMoniterComm::GetStoredAmount(UserPrompt* owner) {
    const WaitCursorScope cursor(services_.waitCursor);
    Exchange request;
    request.frame = BuildFrame("BC", FrameChecksum::Without);
    request.expected = request.alsoExpected = AnswerCode::Bc;
    int32_t amount = -1;
    request.accept = [&amount](std::span<const uint8_t> answer) {
        if (!HasPayload(answer, 2, 4)) {
            return false;
        }
        amount = LeadingDecimal(answer.subspan(2, 4));
        return true;
    };
    return exchange(owner, request) ? amount : -1;
}

int64_t CMoniterComm::ResetCounter(UserPrompt* owner, int32_t counter) {
    const WaitCursorScope cursor(services_.waitCursor);
    std::string text = "SWC";
    AppendHex(text, static_cast<uint32_t>(counter), 2);
    text += "00000000";
    Exchange request;
    request.frame = BuildFrame(text, FrameChecksum::With);
    request.expected = request.alsoExpected = AnswerCode::Swc;
    request.retryLimit = kLongRetryLimit;
    int64_t value = -1;
    request.accept = [&value](std::span<const uint8_t> answer) {
        if (!HasPayload(answer, 4, 8)) {
            return false;
        }
        value = ReadHexDigits(answer, 4, 8);
        return true;
    };
    return exchange(owner, request) ? value : -1;
}

bool CMoniterComm::ReadSettings(UserPrompt* owner, CCaptureData& store, bool live) {
    const WaitCursorScope cursor(services_.waitCursor);
    Exchange request;
    request.frame = BuildFrame(live ? "SRG" : "SRF", FrameChecksum::With);
    request.expected = AnswerCode::Srf;
    request.alsoExpected = AnswerCode::Srg;
    request.checksummedAnswer = true;
    request.accept = [&store](std::span<const uint8_t> answer) {
        return DecodeCaptureHeader(answer.subspan(3), store.header());
    };
    return exchange(owner, request);
}

bool CMoniterComm::ReadExtSettings(UserPrompt* owner, CSaParameter& target,
                                   SettingsProgress* progress) {
    const WaitCursorScope cursor(services_.waitCursor);
    if (progress != nullptr) {
        progress->showText(kSettingsTransferText);
        progress->setProgress(5);
    }
    // The blocks are decoded into a copy that replaces TARGET only once every block arrived:
    // a read that fails midway must not leave the settings being edited half the analyzer's.
    CSaParameter read = target;
    for (const SettingsBlockAddress address : kSettingsBlockAddresses) {
        if (progress != nullptr) {
            progress->setProgress(SettingsTransferProgress(address));
        }
        std::string text = "SRE";
        AppendHex(text, address, 4);
        Exchange request;
        request.frame = BuildFrame(text, FrameChecksum::With);
        request.expected = request.alsoExpected = AnswerCode::Sre;
        request.checksummedAnswer = true;
        // The answer names the block it carries; that block is decoded, whichever was asked
        // for. An answer shorter than its block is a failed attempt.
        request.accept = [&read](std::span<const uint8_t> answer) {
            if (!HasPayload(answer, 3, 4 + 2)) {
                return false;
            }
            const auto echoed = static_cast<SettingsBlockAddress>(ReadHexDigits(answer, 3, 4));
            const auto data =
                answer.subspan(kBlockHead, answer.size() - kBlockHead - kChecksummedTail);
            return DecodeSettingsBlock(data, echoed, read);
        };
        if (!exchange(owner, request)) {
            return false;
        }
    }
    target = read;
    return true;
}

bool CMoniterComm::WriteExtSettings(UserPrompt* owner, const CSaParameter& source,
                                    SettingsProgress* progress) {
    const WaitCursorScope cursor(services_.waitCursor);
    if (progress != nullptr) {
        progress->showText(kSettingsTransferText);
        progress->setProgress(5);
    }
    std::vector<uint8_t> frame(kSettingsFrameCapacity);
    for (const SettingsBlockAddress address : kSettingsBlockAddresses) {
        if (progress != nullptr) {
            progress->setProgress(SettingsTransferProgress(address));
        }
        Exchange request;
        request.frame.assign(frame.begin(),
                             frame.begin() + static_cast<std::ptrdiff_t>(
                                                 EncodeSettingsBlock(frame, address, source)));
        request.retryLimit = kLongRetryLimit;
        if (!exchange(owner, request)) {
            return false;
        }
    }
    if (progress != nullptr) {
        progress->showText(kSettingsTransferText);
        progress->setProgress(100);
    }
    return true;
}

void CMoniterComm::SendFrame(std::string_view text, FrameChecksum checksum) {
    port_.Write(BuildFrame(text, checksum));
}

void CMoniterComm::SendNext() {
    SendFrame("BN", FrameChecksum::Without);
}

void CMoniterComm::SendRepeat() {
    SendFrame("BR", FrameChecksum::Without);
}

void CMoniterComm::SendStatusPoll() {
    SendFrame("BL", FrameChecksum::Without);
}

void CMoniterComm::SendLineOutputs(int32_t erState, int32_t rsState) {
    std::string text = "GL000000";
    text += LineOutputCharacter(erState);
    text += LineOutputCharacter(rsState);
    SendFrame(text, FrameChecksum::With);
}

void CMoniterComm::SendTransmit(int32_t entry) {
    std::string text = "GT";
    AppendHex(text, static_cast<uint32_t>(entry), 4);
    SendFrame(text, FrameChecksum::With);
}

void CMoniterComm::RequestFile(int32_t number) {
    SendFrame("FR" + FormatDecimal4(number), FrameChecksum::Without);
}

} // namespace varnolt
