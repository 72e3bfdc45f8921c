#include "ui/settings/SettingsDialogLauncher.h"

#include "core/link/protocol/CMoniterComm.h"
#include "core/shell/AppSettings.h"
#include "core/shell/CVarnoltDoc.h"
#include "core/shell/LinkSettingsRemote.h"
#include "ui/settings/CSaParameterDlg.h"

#include <memory>

namespace varnolt::ui {

namespace {

// The link's busy flag for as long as the dialog is open.
class BusyScope {
public:
    explicit BusyScope(CMoniterComm* link) : link_(link) {
        if (link_ != nullptr) {
            link_->setBusy(true);
        }
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
    ~BusyScope() {
        if (link_ != nullptr) {
            link_->setBusy(false);
        }
    }

private:
    CMoniterComm* link_;
};

} // namespace

bool RunSettingsDialog(CVarnoltDoc& document, AppSettings& settings, UserPrompt& prompt,
                       QWidget* parent, const std::filesystem::path& file) {
    CMoniterComm* link = document.link();
    const BusyScope busy(link);
    std::unique_ptr<LinkSettingsRemote> remote;
    if (link != nullptr) {
        remote = std::make_unique<LinkSettingsRemote>(*link, prompt);
    }
    SettingsDialogModel::Context context;
    context.connected = document.connected();
    context.autoRead = settings.saSyncRxFlg == 1;
    context.autoWrite = settings.saSyncTxFlg == 1;
    context.remote = remote.get();
    context.storeSyncFlags = [&settings](bool autoRead, bool autoWrite) {
        settings.saSyncRxFlg = autoRead ? 1 : 0;
        settings.saSyncTxFlg = autoWrite ? 1 : 0;
    };
    CSaParameterDlg dialog(document.settings(), std::move(context), prompt, parent);
    dialog.LoadFileOnOpen(file);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    document.AcceptSettings(dialog.settings());
    return true;
}

} // namespace varnolt::ui
