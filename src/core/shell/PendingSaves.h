#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>

namespace varnolt {

class CaptureSaver;
class UserPrompt;

// What becomes of the automatic and trigger saves still being written when the program closes.
enum class PendingSavesChoice {
    Wait,     // close once they are written
    GiveUp,   // close now: the files still waiting are not written
    StayOpen, // do not close
};

// Asks the user about PENDING files not yet written; no question when there are none. Asked
// before the measurement is stopped, so that staying open leaves it running.
[[nodiscard]] PendingSavesChoice AskAboutPendingSaves(size_t pending, UserPrompt& prompt);

// What settling the saves at close needs of the window.
class SaveSettling {
public:
    SaveSettling() = default;
    SaveSettling(const SaveSettling&) = delete;
    SaveSettling& operator=(const SaveSettling&) = delete;
    virtual ~SaveSettling() = default;

    // Returns once SAVER has written every queued file, showing the progress; the user may
    // give the waiting ones up meanwhile.
    virtual void WaitForSaves(CaptureSaver& saver) = 0;
    // Another folder for the files that could not be written; nullopt when none was chosen.
    [[nodiscard]] virtual std::optional<std::filesystem::path> ChooseFolder() = 0;
};

// The saves' part of closing, once the measurement has stopped: waits for the files still
// queued, tells every save that failed, and while files could not be written asks whether to
// write them into another folder ("はい"), give them up ("いいえ") or keep the program open
// ("キャンセル"). Returns false when it stays open; the files not written are kept then.
[[nodiscard]] bool SettleSavesBeforeClose(CaptureSaver& saver, UserPrompt& prompt,
                                          SaveSettling& window);

} // namespace varnolt
