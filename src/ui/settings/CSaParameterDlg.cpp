#include "ui/settings/CSaParameterDlg.h"

#include "ui/platform/QtText.h"
#include "ui/platform/SaveFileDialog.h"
#include "ui/settings/CProgressStatusBar.h"
#include "ui/settings/CTabSaParaCom.h"
#include "ui/settings/CTabSaParaCounter.h"
#include "ui/settings/CTabSaParaTimer.h"
#include "ui/settings/CTabSaParaTriger.h"
#include "ui/settings/CTabSaParaTx.h"
#include "ui/settings/CTabSaParaView.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace varnolt::ui {

namespace {

std::filesystem::path ToPath(const QString& file) {
    const QByteArray utf8 = file.toUtf8();
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

QString FileFilter() {
    return ToQString(SettingsDialogModel::kFileFilter);
}

} // namespace

CSaParameterDlg::CSaParameterDlg(const CSaParameter& settings, SettingsDialogModel::Context context,
                                 UserPrompt& prompt, QWidget* parent)
    : QDialog(parent), prompt_(prompt), status_(new CProgressStatusBar(this)) {
    setObjectName("CSaParameterDlg");
    setWindowTitle(ToQString(SettingsDialogModel::kTitle));
    SettingsRemote* remote = context.remote;
    model_ = std::make_unique<SettingsDialogModel>(settings, std::move(context), *status_, prompt_);

    auto* menu = new QMenuBar(this);
    QMenu* file = menu->addMenu("ファイル");
    connect(file->addAction("ファイル読出"), &QAction::triggered, this, &CSaParameterDlg::ReadFile);
    connect(file->addAction("ファイル保存 "), &QAction::triggered, this,
            &CSaParameterDlg::SaveFile);
    QMenu* remoteMenu = menu->addMenu("リモート");
    QAction* read = remoteMenu->addAction("リモート読出");
    QAction* write = remoteMenu->addAction("リモート書込");
    read->setEnabled(model_->remoteEnabled());
    write->setEnabled(model_->remoteEnabled());
    connect(read, &QAction::triggered, this, [this] {
        model_->remoteRead();
        RefreshPages();
    });
    connect(write, &QAction::triggered, this, [this] { model_->remoteWrite(); });

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("pages");
    CreatePages(remote);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText("キャンセル");
    for (QAbstractButton* button : buttons->buttons()) {
        static_cast<QPushButton*>(button)->setAutoDefault(false);
    }
    connect(buttons, &QDialogButtonBox::accepted, this, &CSaParameterDlg::OnOk);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menu);
    layout->addWidget(CreateCommands());
    layout->addWidget(tabs_, 1);
    layout->addWidget(buttons);
    layout->addWidget(status_);
}

CSaParameterDlg::~CSaParameterDlg() = default;

QWidget* CSaParameterDlg::CreateCommands() {
    auto* commands = new QWidget(this);
    auto* row = new QHBoxLayout(commands);
    row->setContentsMargins(0, 0, 0, 0);
    const auto button = [this, row](const char* caption, const char* name, auto action) {
        auto* push = new QPushButton(caption, this);
        push->setObjectName(name);
        push->setAutoDefault(false);
        row->addWidget(push);
        connect(push, &QPushButton::clicked, this, action);
        return push;
    };
    button("初期化", "initialize", [this] {
        if (model_->initialize()) {
            RefreshPages();
        }
    });
    button("ファイル読出", "fileRead", [this] { ReadFile(); });
    button("ファイル保存", "fileSave", [this] { SaveFile(); });
    button("リモート読出", "remoteRead", [this] {
        model_->remoteRead();
        RefreshPages();
    })->setEnabled(model_->remoteEnabled());
    button("リモート書込", "remoteWrite", [this] {
        model_->remoteWrite();
    })->setEnabled(model_->remoteEnabled());
    row->addStretch();
    auto* autoRead = new QCheckBox("自動読出", this);
    auto* autoWrite = new QCheckBox("自動書込", this);
    autoRead->setObjectName("autoRead");
    autoWrite->setObjectName("autoWrite");
    autoRead->setChecked(model_->autoRead());
    autoWrite->setChecked(model_->autoWrite());
    connect(autoRead, &QCheckBox::clicked, this, [this](bool on) { model_->setAutoRead(on); });
    connect(autoWrite, &QCheckBox::clicked, this, [this](bool on) { model_->setAutoWrite(on); });
    row->addWidget(autoRead);
    row->addWidget(autoWrite);
    return commands;
}

void CSaParameterDlg::CreatePages(SettingsRemote* remote) {
    SettingsDialogModel& m = *model_;
    auto* com = new CTabSaParaCom(m.communication, prompt_, tabs_);
    auto* tx = new CTabSaParaTx(m.transmit, tabs_);
    auto* triggers = new CTabSaParaTriger(m.triggers, prompt_, tabs_);
    auto* timers = new CTabSaParaTimer(m.timers, tabs_);
    auto* counters = new CTabSaParaCounter(m.counters, remote, tabs_);
    auto* view = new CTabSaParaView(m.display, prompt_, tabs_);
    const std::array<QWidget*, 6> pages = {com, tx, triggers, timers, counters, view};
    for (size_t i = 0; i < pages.size(); ++i) {
        tabs_->addTab(pages[i], ToQString(SettingsDialogModel::kPageTitles[i]));
    }
    refreshers_ = {[com] { com->Refresh(); },           [tx] { tx->Refresh(); },
                   [triggers] { triggers->Refresh(); }, [timers] { timers->Refresh(); },
                   [counters] { counters->Refresh(); }, [view] { view->Refresh(); }};
    checks_ = {{},
               {},
               {},
               [this] { model_->timers.check(prompt_); },
               [this] { model_->counters.check(prompt_); },
               [this] { model_->display.check(prompt_); }};
}

void CSaParameterDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (opened_) {
        return;
    }
    opened_ = true;
    // The automatic read runs once the dialog can show its progress.
    QTimer::singleShot(0, this, [this] {
        model_->open();
        if (!fileOnOpen_.empty()) {
            model_->loadFile(fileOnOpen_);
        }
        RefreshPages();
        pagesLoaded_ = true;
    });
}

void CSaParameterDlg::RefreshPages() {
    for (const auto& refresh : refreshers_) {
        refresh();
    }
}

void CSaParameterDlg::ReadFile() {
    model_->clearStatus();
    const QString file =
        QFileDialog::getOpenFileName(this, "ファイル読出", QString(), FileFilter());
    if (file.isEmpty()) {
        return;
    }
    model_->loadFile(ToPath(file));
    RefreshPages();
}

void CSaParameterDlg::SaveFile() {
    model_->clearStatus();
    // The file dialog adds ".tvs" to a bare name before it asks whether to overwrite.
    const QString file = AskSaveFileName(this, "ファイル保存", QString(), FileFilter(), "tvs");
    if (file.isEmpty()) {
        return;
    }
    model_->saveFile(ToPath(file));
}

void CSaParameterDlg::OnOk() {
    if (model_->accept()) {
        accept();
    }
}

void CSaParameterDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        const auto page = static_cast<size_t>(tabs_->currentIndex());
        if (page < checks_.size() && checks_[page]) {
            checks_[page]();
        }
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace varnolt::ui
