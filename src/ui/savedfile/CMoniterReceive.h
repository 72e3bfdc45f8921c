#pragma once

#include "core/link/savedfile/SavedFileReception.h"
#include "ui/savedfile/CSaveDig.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class QTreeWidget;

namespace varnolt {
class CMoniterComm;
}

namespace varnolt::ui {

// "データ受信": lists the analyzer's stored files and fetches the selected ones into capture
// files of a chosen folder. Every decision is made by SavedFileReception; this class shows its
// state and drives its transfers from the event loop, so the window repaints and "キャンセル"
// reaches them. The caller sets the link's busy flag for the dialog's lifetime.
class CMoniterReceive final : public QDialog {
    Q_OBJECT

public:
    // PROMPT shows the dialog's messages.
    CMoniterReceive(CMoniterComm& link, UserPrompt& prompt, QWidget* parent = nullptr);

    // The folder "受信" asks for; an empty text cancels. The folder browser unless replaced.
    void setFolderChooser(std::function<QString()> chooser) { chooseFolder_ = std::move(chooser); }
    // Replaces the overwrite question "保存" (tests).
    void setOverwriteQuestion(OverwriteQuestion& question);

    [[nodiscard]] const SavedFileReception& reception() const { return *reception_; }
    [[nodiscard]] QTreeWidget* list() const { return list_; }
    [[nodiscard]] QLabel* statusLine() const { return status_; }
    [[nodiscard]] QProgressBar* progressBar() const { return progress_; }
    [[nodiscard]] QPushButton* receiveButton() const { return receive_; }
    [[nodiscard]] QPushButton* cancelButton() const { return cancel_; }

    // The close box and Escape: a running transfer is stopped first (as "キャンセル" stops
    // it), and the dialog closes once it has ended.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Start();
    void ReceiveSelected();
    void CancelPressed();
    void KeepPolling();
    void Poll();
    void Refresh();
    void ShowRows();

    CMoniterComm& link_;
    UserPrompt& prompt_;
    QtOverwriteQuestion overwriteQuestion_;
    std::unique_ptr<SavedFileReception> reception_;
    std::function<QString()> chooseFolder_;
    std::vector<StoredFileRow> shownRows_;
    bool started_ = false;
    bool closeWhenStopped_ = false;

    QTreeWidget* list_ = nullptr;
    QLabel* status_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* receive_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QTimer* pollTimer_ = nullptr;
};

} // namespace varnolt::ui
