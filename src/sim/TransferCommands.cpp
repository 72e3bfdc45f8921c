#include "sim/AnalyzerFirmware.h"
#include "sim/HostTransfer.h"

namespace varnolt::sim {

namespace {

using Answers = std::vector<AnswerFrame>;

// Passes the PC's reply to the running transfer; a reply with no transfer running is ignored
// (the PC sends them one-way and waits for no answer).
template <typename Reply>
Answers ToTransfer(AnalyzerFirmware& state, Reply reply) {
    if (!state.transfer) {
        return {};
    }
    Answers answers = reply(*state.transfer);
    if (state.transfer && state.transfer->finished()) {
        state.transfer.reset();
    }
    return answers;
}

} // namespace

// The PC's replies during a transfer towards it: "ACK", "NAK" and "ESC".
void AddTransferCommands(AnalyzerFirmware& firmware) {
    firmware.AddCommand(
        "ACK", RequestChecksum::Without, [](AnalyzerFirmware& state, const Request&) {
            return ToTransfer(state,
                              [&](HostTransfer& transfer) { return transfer.Acknowledged(state); });
        });
    firmware.AddCommand(
        "NAK", RequestChecksum::Without, [](AnalyzerFirmware& state, const Request&) {
            return ToTransfer(state,
                              [&](HostTransfer& transfer) { return transfer.Refused(state); });
        });
    firmware.AddCommand("ESC", RequestChecksum::Without,
                        [](AnalyzerFirmware& state, const Request&) {
                            state.transfer.reset();
                            return Answers{};
                        });
}

} // namespace varnolt::sim
