#pragma once

#include <cstddef>

namespace varnolt {

class UserPrompt;

// What becomes of the automatic and trigger saves still being written when the program closes.
enum class PendingSavesChoice {
    Wait,     // close once they are written
    GiveUp,   // close now: the files still waiting are not written
    StayOpen, // do not close
};

// Asks the user about PENDING files not yet written; no question when there are none.
[[nodiscard]] PendingSavesChoice AskAboutPendingSaves(size_t pending, UserPrompt& prompt);

} // namespace varnolt
