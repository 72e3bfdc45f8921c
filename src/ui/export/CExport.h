#pragma once

#include "core/capture/ExportDialogModel.h"

#include <QDialog>

#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace varnolt {
class CCaptureData;
class UserPrompt;
} // namespace varnolt

namespace varnolt::ui {

// The export dialog "ファイル出力": output file, line length, character size, control lines and
// start position; "実行" exports and the dialog stays open, "キャンセル" closes it with the
// accepted result so that the caller copies settings() back into the configuration; the
// window's close box rejects and leaves the configuration alone. Every decision is made by
// ExportDialogModel; this class only shows it.
class CExport final : public QDialog {
    Q_OBJECT

public:
    CExport(const CCaptureData& data, const ExportDisplay& display, std::string documentPath,
            const ExportSettings& settings, UserPrompt& prompt, QWidget* parent = nullptr);

    // Line length, character size and control-line output as the dialog leaves them.
    [[nodiscard]] const ExportSettings& settings() const { return model_.settings(); }

    // The controls, for tests and for the caller's own wiring.
    [[nodiscard]] QLineEdit* fileNameEdit() const { return fileName_; }
    [[nodiscard]] QLineEdit* lineLengthEdit() const { return lineLength_; }
    [[nodiscard]] QLineEdit* startPositionEdit() const { return startPosition_; }
    [[nodiscard]] QRadioButton* fullWidthButton() const { return fullWidth_; }
    [[nodiscard]] QRadioButton* halfWidthButton() const { return halfWidth_; }
    [[nodiscard]] QCheckBox* controlLineBox() const { return controlLines_; }
    [[nodiscard]] QPushButton* executeButton() const { return execute_; }
    [[nodiscard]] QPushButton* cancelButton() const { return cancel_; }

private:
    void ChooseFile();
    void ExecuteExport();

    ExportDialogModel model_;
    QLineEdit* fileName_ = nullptr;
    QLineEdit* lineLength_ = nullptr;
    QLineEdit* startPosition_ = nullptr;
    QRadioButton* fullWidth_ = nullptr;
    QRadioButton* halfWidth_ = nullptr;
    QCheckBox* controlLines_ = nullptr;
    QPushButton* execute_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

} // namespace varnolt::ui
