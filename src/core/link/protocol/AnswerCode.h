#pragma once

#include <cstdint>
#include <span>

namespace varnolt {

// What an answer from the analyzer is, named by its leading letters.
enum class AnswerCode : int32_t {
    Ack = 0,         // "ACK": acknowledged
    Nak = 1,         // "NAK": refused; the exchange is repeated
    Pgr = 10,        // page report
    Psr = 11,        // run-state answer (ends a stored-data download)
    Pss = 12,        // run-state report
    Ptr = 13,        // trigger report
    Plr = 14,        // classified; no exchange awaits it
    Srf = 15,        // settings, requested before a stored-data download
    Srg = 16,        // settings, requested before a live measurement
    Sre = 17,        // extended settings block
    Bd = 20,         // data block
    Bl = 21,         // status / last block
    Bo = 22,         // overflow report
    Bc = 23,         // amount of stored online data
    Swc = 24,        // counter value
    Dd = 30,         // stored-file list entry
    De = 31,         // end of stored-file list
    Fd = 32,         // stored-file data
    Fe = 33,         // end of stored file
    Incomplete = 50, // not complete yet (also "SW" with any third byte but "C")
    Error = 51,      // a complete answer with an unknown name, or one too long
    Timeout = 52,    // not complete and the time budget is spent
};

// The code of a complete ANSWER (one that ends with the frame terminator), by its first
// letters. Reads nothing past ANSWER.
[[nodiscard]] AnswerCode ClassifyAnswer(std::span<const uint8_t> answer);

// Whether the two characters right before ANSWER's first terminator are the upper-case hex
// checksum of every byte before them. Looks at most at the first 149,999 bytes.
[[nodiscard]] bool VerifyAnswerChecksum(std::span<const uint8_t> answer);

} // namespace varnolt
