#include "ui/savedfile/CMoniterReceive.h"

#include "core/link/savedfile/SavedFileMessages.h"
#include "ui/config/CBrowseFolderDialog.h"
#include "ui/platform/QtText.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace varnolt::ui {

namespace {

// Between two looks at the link while a transfer runs.
constexpr int kPollIntervalMs = 1;

std::filesystem::path ToPath(const QString& folder) {
    const QByteArray utf8 = folder.toUtf8();
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

} // namespace

CMoniterReceive::CMoniterReceive(CMoniterComm& link, UserPrompt& prompt, QWidget* parent)
    : QDialog(parent), link_(link), prompt_(prompt), overwriteQuestion_(this),
      reception_(std::make_unique<SavedFileReception>(link, prompt, overwriteQuestion_)) {
    setWindowTitle(ToQString(kSavedFileDialogTitle));

    auto* caption = new QLabel(ToQString(kStoredFileListCaption), this);
    list_ = new QTreeWidget(this);
    list_->setRootIsDecorated(false);
    list_->setItemsExpandable(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setColumnCount(4);
    list_->setHeaderLabels({ToQString(kNameColumn), ToQString(kCreatedColumn),
                            ToQString(kSizeColumn), ToQString(kNumberColumn)});
    const int widths[] = {100, 120, 75, 75};
    for (int column = 0; column < 4; ++column) {
        list_->setColumnWidth(column, widths[column]);
        list_->headerItem()->setTextAlignment(
            column, column < 2 ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
    }
    list_->header()->setStretchLastSection(true);
    list_->setMinimumSize(400, 220);
    // Room below the text, so that an underscore in a name is not cut off.
    list_->setStyleSheet(QStringLiteral("QTreeView::item { padding-bottom: 2px; }"));

    progress_ = new QProgressBar(this);
    progress_->setTextVisible(false);
    progress_->setRange(0, 1);
    progress_->setValue(0);
    status_ = new QLabel(this);
    status_->setMinimumWidth(360);

    receive_ = new QPushButton(ToQString(kReceiveButtonText), this);
    cancel_ = new QPushButton(ToQString(kCancelButtonText), this);
    receive_->setAutoDefault(false);
    cancel_->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(status_, 1);
    buttons->addWidget(receive_);
    buttons->addWidget(cancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(list_, 1);
    layout->addWidget(progress_);
    layout->addLayout(buttons);

    pollTimer_ = new QTimer(this);
    pollTimer_->setSingleShot(true);
    pollTimer_->setInterval(kPollIntervalMs);
    connect(pollTimer_, &QTimer::timeout, this, &CMoniterReceive::Poll);
    connect(receive_, &QPushButton::clicked, this, &CMoniterReceive::ReceiveSelected);
    connect(cancel_, &QPushButton::clicked, this, &CMoniterReceive::CancelPressed);

    chooseFolder_ = [this] { return CBrowseFolderDialog::Run(this); };
    reception_->setOnChange([this] { Refresh(); });
    Refresh();
}

void CMoniterReceive::setOverwriteQuestion(OverwriteQuestion& question) {
    reception_ = std::make_unique<SavedFileReception>(link_, prompt_, question);
    reception_->setOnChange([this] { Refresh(); });
    Refresh();
}

void CMoniterReceive::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!started_) {
        started_ = true;
        // Once the window is on the screen: connect if needed, then ask for the list.
        QTimer::singleShot(0, this, &CMoniterReceive::Start);
    }
}

void CMoniterReceive::Start() {
    if (!reception_->Open()) {
        QDialog::reject();
        return;
    }
    reception_->RequestList();
    KeepPolling();
}

void CMoniterReceive::ReceiveSelected() {
    if (reception_->running()) {
        return;
    }
    const QString folder = chooseFolder_();
    if (folder.isEmpty()) {
        return;
    }
    std::vector<size_t> selected;
    for (const QModelIndex& index : list_->selectionModel()->selectedRows()) {
        selected.push_back(static_cast<size_t>(index.row()));
    }
    reception_->Receive(ToPath(folder), std::move(selected));
    KeepPolling();
}

void CMoniterReceive::CancelPressed() {
    if (reception_->Cancel()) {
        QDialog::reject();
    }
}

void CMoniterReceive::reject() {
    if (reception_->Cancel()) {
        QDialog::reject();
    } else {
        closeWhenStopped_ = true;
    }
}

void CMoniterReceive::KeepPolling() {
    if (reception_->running()) {
        pollTimer_->start();
    }
}

void CMoniterReceive::Poll() {
    // Single shot, re-armed after the look: a message box the look opens runs its own event
    // loop, and the timer must not look again from inside it.
    if (reception_->Poll()) {
        pollTimer_->start();
    } else if (closeWhenStopped_) {
        QDialog::reject();
    }
}

void CMoniterReceive::Refresh() {
    if (reception_->rows() != shownRows_) {
        ShowRows();
    }
    status_->setText(ToQString(reception_->statusText()));
    progress_->setRange(0, std::max(reception_->progressMaximum(), 1));
    progress_->setValue(reception_->progressPosition());
    receive_->setEnabled(reception_->receiveEnabled());
}

void CMoniterReceive::ShowRows() {
    shownRows_ = reception_->rows();
    list_->clear();
    for (const StoredFileRow& row : shownRows_) {
        auto* item = new QTreeWidgetItem(list_);
        const std::string_view columns[] = {row.name, row.created, row.size, row.number};
        for (int column = 0; column < 4; ++column) {
            item->setText(column, ToQString(columns[column]));
            item->setTextAlignment(column,
                                   column < 2 ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
        }
    }
}

} // namespace varnolt::ui
