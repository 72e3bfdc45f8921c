#pragma once

#include "core/settings/dialog/SettingsDialogModel.h"

#include <QDialog>

#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QPushButton;
class QTabWidget;

namespace varnolt {
class UserPrompt;
}

namespace varnolt::ui {

class CProgressStatusBar;

// The analyzer settings dialog "設定": six pages over a working copy of the settings, "初期化",
// settings files, the remote read and write with their progress, and the automatic read and
// write. settings() holds the edited settings when the dialog was accepted.
class CSaParameterDlg final : public QDialog {
    Q_OBJECT

public:
    // CONTEXT says whether the link is connected, gives the exchanges and the automatic flags
    // and where OK stores them.
    CSaParameterDlg(const CSaParameter& settings, SettingsDialogModel::Context context,
                    UserPrompt& prompt, QWidget* parent = nullptr);
    ~CSaParameterDlg() override;

    [[nodiscard]] const CSaParameter& settings() const { return model_->settings(); }
    // Whether the pages show what the dialog opened with: the automatic read that follows the
    // first showing has run.
    [[nodiscard]] bool pagesLoaded() const { return pagesLoaded_; }

    // Loads FILE once the dialog opens, after the automatic read, as "ファイル読出" would.
    void LoadFileOnOpen(std::filesystem::path file) { fileOnOpen_ = std::move(file); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* CreateCommands();
    void CreatePages(SettingsRemote* remote);
    void RefreshPages();
    void ReadFile();
    void SaveFile();
    void OnOk();

    UserPrompt& prompt_;
    CProgressStatusBar* status_;
    std::unique_ptr<SettingsDialogModel> model_;
    QTabWidget* tabs_ = nullptr;
    std::vector<std::function<void()>> refreshers_;
    std::vector<std::function<void()>> checks_; // Enter in each page, by tab
    bool opened_ = false;
    bool pagesLoaded_ = false;
    std::filesystem::path fileOnOpen_;
};

} // namespace varnolt::ui
