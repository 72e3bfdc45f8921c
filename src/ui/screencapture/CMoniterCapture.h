#pragma once

#include "core/link/screencapture/ScreenCapture.h"
#include "ui/platform/QtClock.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace varnolt::ui {

class ScreenPictureView;

// The screen-capture dialog "画面キャプチャ": "キャプチャ" fetches the analyzer's display through
// a link of its own and shows it, "コピー" puts the framed picture on the clipboard, "保存..."
// writes the screen as a PNG file, "戻る" cancels a running capture or closes the dialog. The
// capture itself and every text it shows come from ScreenCapture.
class CMoniterCapture final : public QDialog, private ScreenCaptureDisplay {
    Q_OBJECT

public:
    CMoniterCapture(const LinkServices& services, UserPrompt& prompt, QWidget* parent = nullptr);
    ~CMoniterCapture() override;

    [[nodiscard]] ScreenCapture& capture() { return capture_; }
    [[nodiscard]] ScreenPictureView& picture() { return *picture_; }

public slots:
    void StartCapture();
    void CopyPicture();
    void SavePicture();
    void reject() override;

private:
    void showStatus(std::string_view text) override;
    void showImage() override;
    void EnableButtons();

    QtPump pump_;
    UserPrompt& prompt_;
    ScreenCapture capture_;
    ScreenPictureView* picture_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* captureButton_ = nullptr;
    QPushButton* copyButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* backButton_ = nullptr;
};

// Command 32783: the dialog, modal, on the link services of the program.
void RunScreenCapture(const LinkServices& services, UserPrompt& prompt, QWidget* parent);

} // namespace varnolt::ui
