#include "core/shell/LinkSettingsRemote.h"

#include "core/link/protocol/CMoniterComm.h"

namespace varnolt {

namespace {

// The link's progress steps on the dialog's status bar.
class StatusProgress final : public SettingsProgress {
public:
    explicit StatusProgress(SettingsStatus& status) : status_(status) {}
    void showText(std::string_view text) override { status_.setText(text); }
    void setProgress(int percent) override { status_.setProgress(percent); }

private:
    SettingsStatus& status_;
};

} // namespace

bool LinkSettingsRemote::read(CSaParameter& target, SettingsStatus& status) {
    StatusProgress progress(status);
    return link_.ReadExtSettings(&owner_, target, &progress);
}

bool LinkSettingsRemote::write(const CSaParameter& source, SettingsStatus& status) {
    StatusProgress progress(status);
    return link_.WriteExtSettings(&owner_, source, &progress);
}

int64_t LinkSettingsRemote::resetCounter(int32_t counter) {
    return link_.ResetCounter(&owner_, counter);
}

} // namespace varnolt
