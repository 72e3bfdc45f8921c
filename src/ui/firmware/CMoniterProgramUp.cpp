#include "ui/firmware/CMoniterProgramUp.h"

#include "core/link/firmware/FirmwareTexts.h"
#include "core/platform/UserPrompt.h"
#include "sim/VirtualAnalyzer.h"
#include "ui/platform/QtText.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnolt::ui {

namespace {

// The user's hand on the virtual analyzer's power switch: when the update asks for a power
// cycle, the analyzer goes off and on as soon as the message is confirmed.
class SimulatedPowerSwitch final : public UserPrompt {
public:
    explicit SimulatedPowerSwitch(UserPrompt& prompt) : prompt_(prompt) {}
    void message(std::string_view text, std::string_view caption, PromptIcon icon) override {
        prompt_.message(text, caption, icon);
        if (text == kPowerCycleMessage) {
            sim::VirtualAnalyzer::processAnalyzer().PowerCycle();
        }
    }
    PromptAnswer ask(std::string_view text, std::string_view caption, PromptButtons buttons,
                     PromptIcon icon) override {
        return prompt_.ask(text, caption, buttons, icon);
    }

private:
    UserPrompt& prompt_;
};

} // namespace

CMoniterProgramUp::CMoniterProgramUp(const LinkServices& services, UserPrompt& prompt,
                                     QWidget* parent)
    : QDialog(parent), update_(services, prompt, pump_, *this) {
    setWindowTitle(ToQString(kFirmwareTitle));
    path_ = new QLabel(this);
    path_->setObjectName("path");
    path_->setFrameShape(QFrame::StyledPanel);
    path_->setMinimumWidth(420);
    path_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    chooseButton_ = new QPushButton(ToQString(kFileChoiceCaption), this);
    status_ = new QLabel(this);
    status_->setObjectName("status");
    progress_ = new QProgressBar(this);
    progress_->setTextVisible(false);
    recovery_ = new QCheckBox(ToQString(kRecoveryCaption), this);
    updateButton_ = new QPushButton(ToQString(kUpdateCaption), this);
    cancelButton_ = new QPushButton(ToQString(kCancelCaption), this);
    for (QPushButton* button : {chooseButton_, updateButton_, cancelButton_}) {
        button->setAutoDefault(false);
    }

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(path_, 1);
    fileRow->addWidget(chooseButton_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(updateButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fileRow);
    layout->addWidget(status_);
    layout->addWidget(progress_);
    layout->addWidget(recovery_);
    layout->addLayout(buttons);

    connect(chooseButton_, &QPushButton::clicked, this, &CMoniterProgramUp::ChooseFile);
    connect(updateButton_, &QPushButton::clicked, this, &CMoniterProgramUp::StartUpdate);
    connect(cancelButton_, &QPushButton::clicked, this, &CMoniterProgramUp::reject);
    connect(recovery_, &QCheckBox::toggled, this, [this](bool on) { update_.SetRecovery(on); });
    showControls(update_.controls());
}

void CMoniterProgramUp::ChooseFile() {
    const QString file = QFileDialog::getOpenFileName(this, ToQString(kFileChoiceCaption), "*.tvy",
                                                      "Data Files (*.tvy);;All Files (*)");
    if (!file.isEmpty()) {
        update_.FileChosen(file.toStdString());
    }
}

void CMoniterProgramUp::StartUpdate() {
    update_.Update();
}

void CMoniterProgramUp::reject() {
    if (update_.Cancel()) {
        QDialog::reject();
    }
}

void CMoniterProgramUp::showControls(const FirmwareControls& controls) {
    path_->setText(ToQString(controls.path));
    status_->setText(ToQString(controls.status));
    progress_->setRange(0, std::max(controls.progressMax, 1));
    progress_->setValue(std::min(controls.progress, progress_->maximum()));
    recovery_->setChecked(controls.recovery);
    recovery_->setEnabled(controls.recoveryEnabled);
    updateButton_->setEnabled(controls.updateEnabled);
    chooseButton_->setEnabled(controls.fileChoiceEnabled);
    cancelButton_->setEnabled(controls.cancelEnabled);
    cancelButton_->setText(ToQString(controls.cancelCaption));
}

void RunFirmwareUpdate(const LinkServices& services, UserPrompt& prompt, bool simulated,
                       QWidget* parent) {
    SimulatedPowerSwitch powerSwitch(prompt);
    CMoniterProgramUp dialog(services, simulated ? powerSwitch : prompt, parent);
    if (dialog.OnInitDialog()) {
        dialog.exec();
    }
}

} // namespace varnolt::ui
