#pragma once

#include "core/link/firmware/FirmwareUpdate.h"
#include "ui/platform/QtClock.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace varnolt::ui {

// The firmware-update dialog "ファームウェア更新": "ファイル選択" picks a .tvy file, "更新" runs
// the update through a link of the dialog's own, the check box recovers an analyzer that no
// longer starts, "キャンセル" cancels a running update or closes the dialog. Every decision and
// text comes from FirmwareUpdate; the dialog shows its controls.
class CMoniterProgramUp final : public QDialog, private FirmwareUpdateView {
    Q_OBJECT

public:
    CMoniterProgramUp(const LinkServices& services, UserPrompt& prompt, QWidget* parent = nullptr);

    // The dialog's start: false (after the message) when the analyzer is absent.
    bool OnInitDialog() { return update_.Start(); }

    [[nodiscard]] FirmwareUpdate& update() { return update_; }

public slots:
    void ChooseFile();
    void StartUpdate();
    void reject() override;

private:
    void showControls(const FirmwareControls& controls) override;

    QtPump pump_;
    FirmwareUpdate update_;
    QLabel* path_ = nullptr;
    QLabel* status_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QCheckBox* recovery_ = nullptr;
    QPushButton* chooseButton_ = nullptr;
    QPushButton* updateButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

// The "ファームウェア更新" command: the dialog, modal, on the program's link services. With the
// virtual analyzer (SIMULATED), confirming the power-cycle message switches it off and on, as
// the user does with a real one.
void RunFirmwareUpdate(const LinkServices& services, UserPrompt& prompt, bool simulated,
                       QWidget* parent);

} // namespace varnolt::ui
