#include "ui/settings/CTabSaParaCom.h"

#include "core/settings/dialog/CommunicationPageModel.h"
#include "ui/settings/CSaParaSpeed.h"
#include "ui/settings/ChoiceButtons.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>

namespace varnolt::ui {

CTabSaParaCom::CTabSaParaCom(CommunicationPageModel& model, UserPrompt& prompt, QWidget* parent)
    : QWidget(parent), model_(model), prompt_(prompt),
      type_(new ChoiceButtons(this, "種類", {"RS232C", "RS422/485"})),
      mode_(new ChoiceButtons(this, "モード", {"モニタ", "シミュレーション"})),
      speed_(new ChoiceButtons(this, "速度",
                               {"230400", "115200", "57600", "38400", "28800", "19200", "14400",
                                "9600", "4800", "2400", "1200", "600", "その他"},
                               3)),
      otherSpeed_(new QLineEdit(speed_->box())),
      dataBits_(new ChoiceButtons(this, "データ長", {"7bit", "8bit"})),
      parity_(new ChoiceButtons(this, "パリティ", {"NONE", "EVEN", "ODD"})),
      stopBits_(new ChoiceButtons(this, "ストップ", {"1bit", "2bit"})),
      output_(new ChoiceButtons(this, "RS422/485送信出力", {"送信時有効", "常時有効"})) {
    setObjectName("CTabSaParaCom");
    otherSpeed_->setObjectName("otherSpeed");
    otherSpeed_->setReadOnly(true);
    otherSpeed_->setMaximumWidth(90);
    static_cast<QGridLayout*>(speed_->box()->layout())->addWidget(otherSpeed_, 4, 1, 1, 2);

    type_->OnChosen([this](int choice) {
        model_.chooseLineType(choice);
        Refresh();
    });
    mode_->OnChosen([this](int choice) {
        model_.chooseMode(choice);
        Refresh();
    });
    speed_->OnChosen([this](int choice) {
        if (choice == CommunicationPageModel::kOtherSpeedChoice) {
            ChooseOtherSpeed();
        } else {
            model_.chooseListedSpeed(choice);
        }
        Refresh();
    });
    dataBits_->OnChosen([this](int choice) { model_.dataBits.choose(choice); });
    parity_->OnChosen([this](int choice) { model_.parity.choose(choice); });
    stopBits_->OnChosen([this](int choice) { model_.stopBits.choose(choice); });
    output_->OnChosen([this](int choice) { model_.transmitOutput.choose(choice); });

    auto* layout = new QGridLayout(this);
    layout->addWidget(type_->box(), 0, 0);
    layout->addWidget(mode_->box(), 0, 1);
    layout->addWidget(speed_->box(), 1, 0, 3, 2);
    layout->addWidget(dataBits_->box(), 0, 2);
    layout->addWidget(parity_->box(), 1, 2);
    layout->addWidget(stopBits_->box(), 2, 2);
    layout->addWidget(output_->box(), 3, 2);
    layout->setRowStretch(4, 1);
    Refresh();
}

void CTabSaParaCom::ChooseOtherSpeed() {
    CSaParaSpeed dialog(model_.speed(), prompt_, this);
    if (dialog.exec() == QDialog::Accepted) {
        model_.setOtherSpeed(dialog.speed());
    }
}

void CTabSaParaCom::Refresh() {
    type_->Show(model_.lineType());
    mode_->Show(model_.lineModeChoice());
    speed_->Show(model_.speedChoice());
    otherSpeed_->setText(QString::fromStdString(model_.otherSpeedText()));
    dataBits_->Show(model_.dataBits.choice());
    parity_->Show(model_.parity.choice());
    stopBits_->Show(model_.stopBits.choice());
    output_->Show(model_.transmitOutput.choice());
}

} // namespace varnolt::ui
