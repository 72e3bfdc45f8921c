#include "ui/screencapture/CMoniterCapture.h"

#include "core/link/protocol/LinkMessages.h"
#include "core/link/screencapture/ScreenCaptureTexts.h"
#include "core/platform/AtomicFileWrite.h"
#include "core/platform/UserPrompt.h"
#include "ui/platform/QtText.h"
#include "ui/platform/SaveFileDialog.h"
#include "ui/screencapture/ScreenPictureView.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <filesystem>

namespace varnolt::ui {

CMoniterCapture::CMoniterCapture(const LinkServices& services, UserPrompt& prompt, QWidget* parent)
    : QDialog(parent), prompt_(prompt), capture_(services, prompt, pump_, *this) {
    setWindowTitle(ToQString(kScreenCaptureTitle));
    picture_ = new ScreenPictureView(this);
    status_ = new QLabel(this);
    status_->setObjectName("status");
    status_->setMinimumWidth(picture_->width());
    captureButton_ = new QPushButton("キャプチャ", this);
    copyButton_ = new QPushButton("コピー", this);
    saveButton_ = new QPushButton("保存...", this);
    backButton_ = new QPushButton("戻る", this);
    for (QPushButton* button : {captureButton_, copyButton_, saveButton_, backButton_}) {
        button->setAutoDefault(false);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(captureButton_);
    buttons->addWidget(copyButton_);
    buttons->addWidget(saveButton_);
    buttons->addStretch(1);
    buttons->addWidget(backButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picture_);
    layout->addWidget(status_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(captureButton_, &QPushButton::clicked, this, &CMoniterCapture::StartCapture);
    connect(copyButton_, &QPushButton::clicked, this, &CMoniterCapture::CopyPicture);
    connect(saveButton_, &QPushButton::clicked, this, &CMoniterCapture::SavePicture);
    connect(backButton_, &QPushButton::clicked, this, &CMoniterCapture::reject);
    EnableButtons();
}

CMoniterCapture::~CMoniterCapture() = default;

void CMoniterCapture::StartCapture() {
    if (capture_.running()) {
        return;
    }
    // The buttons stay off while the capture runs; "戻る" is its cancel.
    captureButton_->setEnabled(false);
    copyButton_->setEnabled(false);
    saveButton_->setEnabled(false);
    const CaptureOutcome outcome = capture_.Run();
    EnableButtons();
    if (outcome == CaptureOutcome::NotConnected) {
        QDialog::reject();
    }
}

void CMoniterCapture::CopyPicture() {
    if (!picture_->hasImage()) {
        return;
    }
    QApplication::clipboard()->setPixmap(picture_->framedPicture());
    showStatus(kCaptureCopiedText);
}

void CMoniterCapture::SavePicture() {
    // ".png" joins a bare name before the dialog asks whether to overwrite.
    const QString file = AskSaveFileName(this, ToQString(kCaptureSaveTitle), "screen.png",
                                         ToQString(kCaptureSaveFilter), "png");
    if (file.isEmpty()) {
        return;
    }
    const QByteArray utf8 = file.toUtf8();
    const FileError error = WriteFileAtomically(
        std::filesystem::path(std::u8string(utf8.begin(), utf8.end())),
        [this](const std::filesystem::path& temporary) {
            return picture_->image().save(QString::fromStdString(temporary.string()), "PNG")
                       ? FileError::None
                       : FileError::WriteFault;
        });
    if (error != FileError::None) {
        prompt_.message(kCaptureSaveFailedMessage, kConfirmCaption, PromptIcon::Warning);
        return;
    }
    showStatus(kCaptureSavedText);
}

void CMoniterCapture::reject() {
    if (capture_.running()) {
        capture_.RequestCancel();
        return;
    }
    capture_.Close();
    QDialog::reject();
}

void CMoniterCapture::showStatus(std::string_view text) {
    status_->setText(ToQString(text));
}

void CMoniterCapture::showImage() {
    picture_->setImage(capture_.image());
}

void CMoniterCapture::EnableButtons() {
    // Copying or saving before a picture is there would report an empty frame as done.
    captureButton_->setEnabled(true);
    copyButton_->setEnabled(picture_->hasImage());
    saveButton_->setEnabled(picture_->hasImage());
}

void RunScreenCapture(const LinkServices& services, UserPrompt& prompt, QWidget* parent) {
    CMoniterCapture dialog(services, prompt, parent);
    dialog.exec();
}

} // namespace varnolt::ui
