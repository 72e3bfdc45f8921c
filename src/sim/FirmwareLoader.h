#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace varnolt::sim {

class AnalyzerFirmware;
using AnswerFrame = std::vector<uint8_t>;

// How the virtual analyzer's loader behaves; tests change it to provoke failures.
struct LoaderOptions {
    uint32_t restartMs = 1500;      // from "WSTOP" to the loader's "POW"
    uint32_t bootReportMs = 500;    // from a host opening the port after power-on to "POW"
    uint32_t bootWindowMs = 3000;   // a loader with a good program starts it after this
    uint32_t lineMs = 10;           // the loader stores a line (or batch) before its "ACK"
    uint32_t writeMs = 2000;        // from "XEND" to the write report
    bool failWrite = false;         // report "W_E" instead of "UP_"
    bool garbleWriteReport = false; // report neither
};

// The analyzer's loader: after "WSTOP" (or at power-on) it takes a new program as text lines
// instead of the frame protocol: "XWPD" opens the transfer (and erases the program), record
// lines and batches of records separated by vertical tabs follow, each answered "ACK" (or
// "NAK" for a malformed record), "XEND" ends it and the memory is written ("UP_" or "W_E"
// later), "INI" re-initialises the analyzer with the new program. Its program version is the
// one the file's "VER" record carries, as six hex digits.
struct LoaderState {
    bool active = false;
    bool programValid = true; // false from "XWPD" until a write succeeds: no start without it
    bool transferring = false;
    bool ended = false;
    bool written = false;
    bool bootReportDue = false; // "POW" goes out once a host has the port open
    uint32_t bootTick = 0;
    int32_t lines = 0;
    int32_t records = 0;
    std::string receivedVersion;
    std::string report; // the last write report, sent again after the PC's "NAK"
    LoaderOptions options;
};

// The analyzer starts: into the loader, which reports "POW" to the next host that opens it.
void BootIntoLoader(AnalyzerFirmware& state);

// Whether the loader (rather than the program) answers what arrives now. A loader holding a
// good program starts it once its boot window passed without a transfer.
[[nodiscard]] bool LoaderAnswers(AnalyzerFirmware& state);

// Carries out one line from the PC (without its line feed) and returns the replies.
[[nodiscard]] std::vector<AnswerFrame> HandleLoaderLine(AnalyzerFirmware& state,
                                                        std::span<const uint8_t> line);

// A text line towards the PC: TEXT and a line feed.
[[nodiscard]] AnswerFrame LoaderLine(std::string_view text);

} // namespace varnolt::sim
