#include "ui/export/CExport.h"

#include "ui/platform/QtText.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <utility>

namespace varnolt::ui {

CExport::CExport(const CCaptureData& data, const ExportDisplay& display, std::string documentPath,
                 const ExportSettings& settings, UserPrompt& prompt, QWidget* parent)
    : QDialog(parent), model_(data, display, std::move(documentPath), settings, prompt) {
    setWindowTitle(ToQString(ExportDialogModel::kTitle));

    fileName_ = new QLineEdit(this);
    auto* browse = new QPushButton(QStringLiteral("ファイル"), this);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(fileName_, 1);
    fileRow->addWidget(browse);

    lineLength_ = new QLineEdit(ToQString(model_.lineLengthText()), this);
    startPosition_ = new QLineEdit(ToQString(model_.startPositionText()), this);

    fullWidth_ = new QRadioButton(QStringLiteral("全角"), this);
    halfWidth_ = new QRadioButton(QStringLiteral("半角"), this);
    auto* sizeGroup = new QButtonGroup(this);
    sizeGroup->addButton(fullWidth_);
    sizeGroup->addButton(halfWidth_);
    (settings.characterSize == ExportCharacterSize::HalfWidth ? halfWidth_ : fullWidth_)
        ->setChecked(true);
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(fullWidth_);
    sizeRow->addWidget(halfWidth_);
    sizeRow->addStretch(1);

    controlLines_ = new QCheckBox(QStringLiteral("制御ライン出力"), this);
    controlLines_->setEnabled(model_.controlLineEnabled());
    controlLines_->setChecked(model_.controlLineChecked());

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("出力ファイル名"), fileRow);
    form->addRow(QStringLiteral("１行の文字数"), lineLength_);
    form->addRow(QStringLiteral("文字サイズ"), sizeRow);
    form->addRow(QString(), controlLines_);
    form->addRow(QStringLiteral("出力開始文字位置"), startPosition_);

    execute_ = new QPushButton(QStringLiteral("実行"), this);
    cancel_ = new QPushButton(QStringLiteral("キャンセル"), this);
    execute_->setAutoDefault(false);
    cancel_->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(execute_);
    buttons->addWidget(cancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(browse, &QPushButton::clicked, this, &CExport::ChooseFile);
    connect(fullWidth_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            model_.setCharacterSize(ExportCharacterSize::FullWidth);
        }
    });
    connect(halfWidth_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            model_.setCharacterSize(ExportCharacterSize::HalfWidth);
        }
    });
    connect(controlLines_, &QCheckBox::toggled, this,
            [this](bool on) { model_.setControlLineOutput(on); });
    connect(execute_, &QPushButton::clicked, this, &CExport::ExecuteExport);
    // The dialog's own button closes it with the accepted result: the caller keeps the values.
    connect(cancel_, &QPushButton::clicked, this, &QDialog::accept);
}

void CExport::ChooseFile() {
    const QString filter = ToQString(ExportDialogModel::kTextFilter) + QStringLiteral(";;") +
                           ToQString(ExportDialogModel::kCsvFilter);
    const QString path = QFileDialog::getSaveFileName(this, QString(), QString(), filter, nullptr,
                                                      QFileDialog::Options());
    if (!path.isEmpty()) {
        fileName_->setText(path);
    }
}

void CExport::ExecuteExport() {
    const QByteArray fileName = fileName_->text().toUtf8();
    const QByteArray lineLength = lineLength_->text().toUtf8();
    const QByteArray startPosition = startPosition_->text().toUtf8();
    model_.Execute({fileName.constData(), static_cast<size_t>(fileName.size())},
                   {lineLength.constData(), static_cast<size_t>(lineLength.size())},
                   {startPosition.constData(), static_cast<size_t>(startPosition.size())});
}

} // namespace varnolt::ui
