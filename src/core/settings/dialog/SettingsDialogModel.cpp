#include "core/settings/dialog/SettingsDialogModel.h"

#include "core/platform/UserPrompt.h"
#include "core/settings/SettingsValidation.h"
#include "core/settings/dialog/SettingsComparison.h"
#include "core/settings/dialog/SettingsRemote.h"

#include <utility>

namespace varnolt {

SettingsDialogModel::SettingsDialogModel(const CSaParameter& settings, Context context,
                                         SettingsStatus& status, UserPrompt& prompt)
    : working_(settings), context_(std::move(context)), status_(status), prompt_(prompt) {
}

bool SettingsDialogModel::remoteEnabled() const {
    return context_.connected && context_.remote != nullptr;
}

void SettingsDialogModel::open() {
    if (context_.autoRead) {
        readRemote();
    }
    loadAllPages();
}

void SettingsDialogModel::loadAllPages() {
    communication.load(working_);
    transmit.load(working_);
    triggers.load(working_, &transmit.table());
    timers.load(working_);
    counters.load(working_, context_.connected);
    display.load(working_);
}

bool SettingsDialogModel::saveAllPages() {
    communication.save(working_);
    transmit.save(working_);
    triggers.save(working_);
    const bool timersSaved = timers.save(working_, prompt_);
    const bool countersSaved = counters.save(working_, prompt_);
    const bool displaySaved = display.save(working_, prompt_);
    return timersSaved && countersSaved && displaySaved;
}

bool SettingsDialogModel::initialize() {
    if (prompt_.ask(kInitializeQuestion, kSettingsCheckCaption, PromptButtons::OkCancel,
                    PromptIcon::Information) != PromptAnswer::Ok) {
        return false;
    }
    working_.Initialize();
    loadAllPages();
    return true;
}

void SettingsDialogModel::clearStatus() {
    status_.setText({});
    status_.setProgress(0);
}

void SettingsDialogModel::loadFile(const std::filesystem::path& path) {
    working_.LoadFile(path, prompt_);
    working_.Normalize();
    loadAllPages();
}

void SettingsDialogModel::saveFile(const std::filesystem::path& path) {
    saveAllPages();
    working_.SaveFile(path, prompt_);
}

bool SettingsDialogModel::readRemote() {
    if (!remoteEnabled()) {
        return false;
    }
    clearStatus();
    const bool read = context_.remote->read(working_, status_);
    status_.setText(read ? kReadDoneText : std::string_view());
    status_.setProgress(0);
    return read;
}

bool SettingsDialogModel::writeRemote() {
    if (!remoteEnabled()) {
        return false;
    }
    clearStatus();
    saveAllPages();
    const bool written = context_.remote->write(working_, status_);
    status_.setText(written ? kWriteDoneText : std::string_view());
    status_.setProgress(0);
    return written;
}

void SettingsDialogModel::remoteRead() {
    if (!remoteEnabled()) {
        return;
    }
    readRemote();
    loadAllPages();
}

void SettingsDialogModel::remoteWrite() {
    writeRemote();
}

bool SettingsDialogModel::accept() {
    if (context_.storeSyncFlags) {
        context_.storeSyncFlags(context_.autoRead, context_.autoWrite);
    }
    if (!saveAllPages()) {
        return false;
    }
    if (context_.autoWrite && remoteEnabled()) {
        const CSaParameter pages = working_;
        readRemote();
        if (DiffersForWrite(working_, pages)) {
            writeRemote();
        }
    }
    return true;
}

} // namespace varnolt
