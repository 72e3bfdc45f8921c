#pragma once

#include "core/settings/dialog/SettingsRemote.h"

namespace varnolt {

class CMoniterComm;
class UserPrompt;

// The settings dialog's exchanges with the analyzer, run on the document's link. Failures are
// reported through OWNER (the dialog's message boxes).
class LinkSettingsRemote final : public SettingsRemote {
public:
    LinkSettingsRemote(CMoniterComm& link, UserPrompt& owner) : link_(link), owner_(owner) {}

    bool read(CSaParameter& target, SettingsStatus& status) override;
    bool write(const CSaParameter& source, SettingsStatus& status) override;
    [[nodiscard]] int64_t resetCounter(int32_t counter) override;

private:
    CMoniterComm& link_;
    UserPrompt& owner_;
};

} // namespace varnolt
