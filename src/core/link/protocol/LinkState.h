#pragma once

#include <cstdint>

namespace varnolt {

// The reception state of the analyzer link: what the 10 ms poll does on its next pass, or that
// it has given up. The values are the analyzer tools' own numbers.
enum class LinkState : int32_t {
    NotConnected = 0,
    Connected = 1,        // idle: the next pass starts the status poll
    Started = 2,          // a measurement started: the next pass starts live reception
    SendStatusPoll = 10,  // stopped: send "BL"
    AwaitStatus = 11,     // stopped: waiting for the status answer
    SendFirstBlock = 20,  // measuring: send "BS"
    AwaitFirstBlock = 21, // measuring: waiting for the answer to "BS"
    SendNextBlock = 30,   // measuring: send "BN"
    AwaitNextBlock = 31,  // measuring: waiting for the answer to "BN"
    Failed = 100,         // communication failed: nothing is sent until a stop, start or disconnect
};

// What the main frame's commands, toolbar and status bar depend on. The link tells its
// listener whenever this changes, and only then (the poll's own steps do not count).
struct LinkCondition {
    bool connected = false; // remote mode 1
    bool measuring = false; // run state 10
    bool busy = false;      // a modal operation holds the link
    bool failed = false;    // the poll has given up
    friend bool operator==(const LinkCondition&, const LinkCondition&) = default;
};

} // namespace varnolt
