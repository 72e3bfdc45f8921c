#include "ui/frame/CMainFrame.h"

#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureSaver.h"
#include "core/link/protocol/AnalyzerConnection.h"
#include "core/link/protocol/CMoniterComm.h"
#include "core/link/reception/OnlineDownload.h"
#include "core/platform/ConfigStore.h"
#include "core/platform/FileError.h"
#include "core/platform/UserPrompt.h"
#include "core/shell/AnalyzerSession.h"
#include "core/shell/CVarnoltDoc.h"
#include "core/shell/PendingSaves.h"
#include "core/shell/UnsavedCapture.h"
#include "core/view/StatusConditions.h"
#include "ui/config/CConfig.h"
#include "ui/firmware/CMoniterProgramUp.h"
#include "ui/frame/CAboutDlg.h"
#include "ui/frame/CTvStatusBar.h"
#include "ui/frame/SaveSettlingWindow.h"
#include "ui/frame/StatusProgress.h"
#include "ui/interop/CStatisticsDig.h"
#include "ui/interop/InteropExportLauncher.h"
#include "ui/platform/QtText.h"
#include "ui/platform/SaveFileDialog.h"
#include "ui/print/CPrintPreviewDlg.h"
#include "ui/print/PrintWithProgress.h"
#include "ui/savedfile/CMoniterReceive.h"
#include "ui/screencapture/CMoniterCapture.h"
#include "ui/settings/SettingsDialogLauncher.h"
#include "ui/view/CVarnoltView.h"
#include "ui/view/CapturePrinter.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace varnolt::ui {

namespace {

std::filesystem::path ToPath(const QString& file) {
    const QByteArray utf8 = file.toUtf8();
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

const QString kCaptureFilter = "Varnolt Files (*.tvd);;すべてのファイル (*)";

// Search keys the frame handles itself, before menu shortcuts see them.
bool IsSearchKey(const QKeyEvent& key) {
    const auto modifiers = key.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier |
                                              Qt::AltModifier | Qt::MetaModifier);
    return (key.key() == Qt::Key_F3 &&
            (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier)) ||
           (key.key() == Qt::Key_F && modifiers == Qt::ControlModifier);
}

} // namespace

CMainFrame::CMainFrame(CVarnoltDoc& document, ConfigStore& config, UserPrompt& prompt,
                       QWidget* parent)
    : QMainWindow(parent), document_(document), config_(config), prompt_(prompt) {
    setObjectName("CMainFrame");
    setMinimumSize(800, 600);
    setWindowIcon(QIcon(":/icons/varnolt.png"));
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowTabbedDocks);

    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    CreatePanes();

    // The per-user values are read before the view exists, so that it starts with them.
    settings_ = ReadAppSettings(config_);
    recentFiles_.read(config_);
    writtenSettings_ = settings_;
    writtenRecentFiles_ = recentFiles_.entries();
    UpdateRecentFileMenu();

    view_ = new CVarnoltView(document_, prompt_, this);
    session_ = std::make_unique<AnalyzerSession>(document_, prompt_, view_->receptionView(),
                                                 [this] { return AutoSaveOptionsOf(settings_); });
    view_->setSession(session_.get());
    CreatePollTimer();
    connect(view_, &CVarnoltView::statusChanged, this, &CMainFrame::ShowConditions);
    connect(view_, &CVarnoltView::lampsChanged, this, &CMainFrame::ShowLamps);
    connect(view_, &CVarnoltView::devicePaneChanged, this, &CMainFrame::RefreshDevicePane);
    connect(view_, &CVarnoltView::noticeRaised, this, &CMainFrame::ShowNotice);
    setCentralWidget(view_);
    // The keys of the data view (Home, End, PageDown ...) work from the start, without a click.
    view_->setFocus();
    ApplyDrawOptions();

    // Whatever changes the link's condition (a command, the poll, the analyzer stopping by
    // itself, a download ending), the commands and the status bar follow at once.
    document_.setLinkConditionListener([frame = QPointer<CMainFrame>(this)] {
        if (frame) {
            frame->OnLinkConditionChanged();
        }
    });

    qApp->installEventFilter(this);
    RefreshCommandStates();
    UpdateTitle();
}

void CMainFrame::OnLinkConditionChanged() {
    RefreshCommandStates();
    UpdatePaneVisibility();
    ShowConditions(true);
    const CMoniterComm* link = document_.link();
    if (closeAfterOperation_ && (link == nullptr || !link->busy())) {
        // The operation that held the link has ended: the close the user asked for goes on.
        closeAfterOperation_ = false;
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(this);
    WriteAppSettings(settings_, config_);
    recentFiles_.write(config_);
}

QAction* CMainFrame::action(CommandId id) const {
    const auto found = actions_.find(id);
    return found == actions_.end() ? nullptr : found->second;
}

CommandContext CMainFrame::commandContext() const {
    CommandContext context;
    context.holdsCapture = document_.holdsCapture();
    context.connected = document_.connected();
    context.measuring = document_.measuring();
    context.busy = session_->busy();
    context.recordCount = document_.capture().Count();
    context.recordWidth = document_.capture().header().recordWidth;
    context.hexView = settings_.hexView;
    context.controlLineView = view_->controlLineView() ? 1 : 0;
    context.timerCounterPane = timerCounterPane_;
    context.linePattern = settings_.linePattern;
    return context;
}

void CMainFrame::RefreshCommandStates() {
    const CommandContext context = commandContext();
    for (const auto& [id, action] : actions_) {
        const CommandState state = EvaluateCommand(id, context);
        action->setEnabled(state.enabled);
        action->setCheckable(state.checkable);
        if (state.checkable) {
            action->setChecked(state.checked);
        }
    }
    if (context.connected != recentShowsPlaceholder_) {
        UpdateRecentFileMenu();
    }
    // A measurement or download renews the capture: untitled, and marked modified once it
    // holds records that are on no file.
    UpdateTitle();
}

void CMainFrame::ApplyDrawOptions() {
    DrawOptions options;
    options.hexView = settings_.hexView == 1;
    options.linePattern = settings_.linePattern == 1 ? LinePattern::Filled : LinePattern::Line;
    view_->setDrawOptions(options);
}

void CMainFrame::OnCommand(CommandId id) {
    const CommandContext context = commandContext();
    if (!EvaluateCommand(id, context).enabled) {
        return;
    }
    switch (id) {
    case kCmdFileNew:
        if (MayDiscardCapture()) {
            NewDocument();
        }
        break;
    case kCmdFileOpen:
        OnOpen();
        break;
    case kCmdFileSave:
        OnSave(false);
        break;
    case kCmdFileSaveAs:
        OnSave(true);
        break;
    case kCmdAppExit:
        close();
        break;
    case kCmdFilePrint:
        OnPrint();
        break;
    case kCmdFilePrintPreview:
        OnPrintPreview();
        break;
    case kCmdFilePrintSetup: {
        QPageSetupDialog setup(&printer(), this);
        setup.exec();
        break;
    }
    case kCmdEnvironment: {
        CConfig dialog(EnvironmentSettings::From(settings_), this);
        if (dialog.exec() == QDialog::Accepted) {
            dialog.settings().ApplyTo(settings_);
        }
        break;
    }
    case kCmdSettings:
        RunSettings();
        break;
    case kCmdInteropExport:
        RunInteropExportDialog(document_, prompt_, this);
        break;
    case kCmdStatistics:
        ShowStatistics(document_, this);
        break;
    case kCmdAppAbout: {
        CAboutDlg about(this);
        about.exec();
        break;
    }
    case kCmdHexView:
        settings_.hexView = settings_.hexView == 1 ? 0 : 1;
        ApplyDrawOptions();
        view_->Relayout();
        break;
    case kCmdControlLineView:
        view_->setControlLineView(!view_->controlLineView());
        if (document_.holdsCapture()) {
            view_->Relayout();
        }
        break;
    case kCmdTimerCounterPane:
        timerCounterPane_ = timerCounterPane_ == 1 ? 0 : 1;
        UpdatePaneVisibility();
        break;
    case kCmdLinePatternLines:
    case kCmdLinePatternFilled: {
        const int16_t pattern = id == kCmdLinePatternLines ? 0 : 1;
        if (settings_.linePattern != pattern) {
            settings_.linePattern = pattern;
            ApplyDrawOptions();
            if (document_.holdsCapture()) {
                view_->Relayout();
            }
        }
        break;
    }
    case kCmdToolbarCustomize:
        CustomizeToolBar();
        break;
    case kCmdFirmwareUpdate:
    case kCmdScreenCapture:
        // Each dialog talks through a link of its own; the document's link stays busy
        // meanwhile, so the reception timer and the link commands keep away.
        if (CMoniterComm* link = document_.link()) {
            link->setBusy(true);
            if (id == kCmdFirmwareUpdate) {
                RunFirmwareUpdate(link->services(), prompt_, simulated_, this);
            } else {
                RunScreenCapture(link->services(), prompt_, this);
            }
            link->setBusy(false);
        }
        break;
    case kCmdSavedFileReceive:
        if (CMoniterComm* link = document_.link()) {
            link->setBusy(true);
            CMoniterReceive dialog(*link, prompt_, this);
            dialog.exec();
            link->setBusy(false);
        }
        break;
    default:
        if (!RunSessionCommand(id)) {
            RunViewCommand(id);
        }
        break;
    }
    RefreshCommandStates();
    SaveUserSettings();
    // A dialog hands the focus back to whatever had it before, which may be nothing or a pane.
    view_->setFocus();
}

void CMainFrame::SaveUserSettings() {
    bool written = false;
    if (settings_ != writtenSettings_) {
        WriteAppSettings(settings_, config_);
        writtenSettings_ = settings_;
        written = true;
    }
    if (recentFiles_.entries() != writtenRecentFiles_) {
        recentFiles_.write(config_);
        writtenRecentFiles_ = recentFiles_.entries();
        written = true;
    }
    if (written) {
        config_.Flush();
    }
}

bool CMainFrame::MayDiscardCapture() {
    if (!document_.NeedsSaveQuestion(settings_.saveAskFlg == 1)) {
        return true;
    }
    switch (AskToSaveCapture(prompt_)) {
    case UnsavedCaptureChoice::Save:
        return OnSave(false);
    case UnsavedCaptureChoice::Discard:
        return true;
    case UnsavedCaptureChoice::Cancel:
        break;
    }
    return false;
}

void CMainFrame::OpenAtStart(const std::filesystem::path& file) {
    if (file.empty() || !OpenDocument(file)) {
        NewDocument();
    }
}

bool CMainFrame::NewDocument() {
    const bool done = document_.OnNewDocument();
    UpdateTitle();
    ShowNewCapture();
    UpdatePaneVisibility();
    RefreshCommandStates();
    return done;
}

bool CMainFrame::OpenDocument(const std::filesystem::path& name) {
    // The document names its file in full, as the export and the printed header show it and
    // the recent-file list keeps it, whatever folder the name was relative to.
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(name, error);
    if (error) {
        path = name;
    }
    // A file that cannot be opened has been reported; the capture on screen stays as it was.
    if (!document_.OnOpenDocument(path)) {
        return false;
    }
    recentFiles_.add(path);
    UpdateRecentFileMenu();
    SaveUserSettings();
    UpdateTitle();
    ShowNewCapture();
    UpdatePaneVisibility();
    RefreshCommandStates();
    return true;
}

void CMainFrame::RunSettings(const std::filesystem::path& file) {
    if (!EvaluateCommand(kCmdSettings, commandContext()).enabled) {
        return;
    }
    if (RunSettingsDialog(document_, settings_, prompt_, this, file)) {
        // Kept at once, not only when the program ends.
        document_.SaveSettingsFile();
        AnalyzerSettingsChanged();
        view_->Relayout();
    }
}

QPrinter& CMainFrame::printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setPageOrientation(QPageLayout::Portrait);
    }
    return *printer_;
}

void CMainFrame::OnPrint() {
    CapturePrinter capturePrinter(view_->layout(), document_.capture(),
                                  PathText(document_.pathName()));
    QPrintDialog dialog(&printer(), this);
    dialog.setMinMax(1, std::max(1, capturePrinter.pageCount(printer())));
    if (dialog.exec() == QDialog::Accepted) {
        PrintWithProgress(capturePrinter, printer(), this);
    }
}

void CMainFrame::OnPrintPreview() {
    CapturePrinter capturePrinter(view_->layout(), document_.capture(),
                                  PathText(document_.pathName()));
    CPrintPreviewDlg preview(capturePrinter, printer(), this);
    if (preview.exec() == CPrintPreviewDlg::kPrintRequested) {
        OnPrint();
    }
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (acceptDrops() && event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.front().isLocalFile() ||
        !EvaluateCommand(kCmdFileOpen, commandContext()).enabled) {
        return;
    }
    event->acceptProposedAction();
    if (MayDiscardCapture()) {
        OpenDocument(ToPath(urls.front().toLocalFile()));
    }
}

void CMainFrame::OnOpen() {
    if (!MayDiscardCapture()) {
        return;
    }
    const QString file = QFileDialog::getOpenFileName(this, "開く", QString(), kCaptureFilter);
    if (!file.isEmpty()) {
        OpenDocument(ToPath(file));
    }
}

bool CMainFrame::OnSave(bool askForName) {
    std::filesystem::path path = document_.pathName();
    if (askForName || path.empty()) {
        QString suggestion =
            path.empty()
                ? QString("Varnolt.tvd")
                : QString::fromUtf8(reinterpret_cast<const char*>(path.u8string().c_str()));
        // ".tvd" joins a bare name before the dialog asks whether to overwrite.
        const QString file =
            AskSaveFileName(this, "名前を付けて保存", suggestion, kCaptureFilter, "tvd");
        if (file.isEmpty()) {
            return false;
        }
        path = ToPath(file);
    }
    const bool saved = document_.OnSaveDocument(path);
    if (saved) {
        recentFiles_.add(path);
        UpdateRecentFileMenu();
        SaveUserSettings();
    }
    UpdateTitle();
    return saved;
}

void CMainFrame::UpdateRecentFileMenu() {
    recentMenu_->clear();
    const auto& entries = recentFiles_.entries();
    // While connected the entries leave the menu and only the disabled placeholder remains.
    recentShowsPlaceholder_ = document_.connected();
    if (entries.empty() || recentShowsPlaceholder_) {
        recentMenu_->addAction(ToQString(FindCommandText(kCmdRecentFile)->menuText))
            ->setEnabled(false);
        return;
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        const QString path = QString::fromUtf8(entries[i]);
        auto* item = recentMenu_->addAction(QString("&%1 %2").arg(i + 1).arg(path));
        connect(item, &QAction::triggered, this, [this, path] {
            if (EvaluateCommand(kCmdRecentFile, commandContext()).enabled && MayDiscardCapture()) {
                OpenDocument(ToPath(path));
            }
        });
    }
}

void CMainFrame::setSimulated(bool simulated) {
    simulated_ = simulated;
    UpdateTitle();
}

void CMainFrame::UpdateTitle() {
    QString title = QString::fromStdString(document_.title()) + " - Varnolt";
    if (simulated_) {
        title += " (仮想アナライザー)";
    }
    setWindowTitle(title);
}

void CMainFrame::ShowNotice(const QString& text) {
    // The newest few: a folder that stays unusable must not grow the window without end.
    constexpr qsizetype kNoticesShown = 8;
    statusBar_->showMessage(text);
    if (!notice_) {
        noticeTexts_.clear();
        notice_ =
            new QMessageBox(QMessageBox::Warning, "Varnolt", QString(), QMessageBox::Ok, this);
        notice_->setAttribute(Qt::WA_DeleteOnClose);
        notice_->setWindowModality(Qt::NonModal);
    }
    noticeTexts_.append(text);
    if (noticeTexts_.size() > kNoticesShown) {
        noticeTexts_.remove(0, noticeTexts_.size() - kNoticesShown);
    }
    notice_->setText(noticeTexts_.join("\n\n"));
    notice_->show();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (CMoniterComm* link = document_.link(); link != nullptr && link->busy()) {
        // A download runs below this event: it is asked to end, and the window closes after.
        if (!closeAfterOperation_ && ConfirmCloseWhileBusy(*link, prompt_)) {
            closeAfterOperation_ = true;
        }
        event->ignore();
        return;
    }
    if (document_.link() != nullptr && !ConfirmCloseWhileRunning(*document_.link(), prompt_)) {
        event->ignore();
        return;
    }
    // Every question comes before the measurement is stopped: staying open leaves it running.
    CaptureSaver& saver = document_.capture().saver();
    const PendingSavesChoice pending = AskAboutPendingSaves(saver.pending(), prompt_);
    if (pending == PendingSavesChoice::StayOpen) {
        event->ignore();
        return;
    }
    if (document_.measuring()) {
        session_->Stop();
    }
    // After the stop, so that the question covers every record the measurement received (and
    // "保存" can save them); "キャンセル" keeps the window open with the measurement stopped.
    if (!MayDiscardCapture()) {
        event->ignore();
        return;
    }
    DisconnectAnalyzer();
    if (pending == PendingSavesChoice::GiveUp) {
        saver.Abandon(); // the last partial bank the stop queued with them
    }
    SaveSettlingWindow window(this);
    if (!SettleSavesBeforeClose(saver, prompt_, window)) {
        event->ignore();
        return;
    }
    event->accept();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && isActiveWindow()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (IsSearchKey(*key)) {
            // Without a capture, while measuring or while the link is busy, the key goes on to
            // whoever wants it.
            if (!EvaluateCommand(kCmdFindNext, commandContext()).enabled) {
                return QMainWindow::eventFilter(watched, event);
            }
            if (key->key() == Qt::Key_F) {
                Search(SearchCommand::Dialog);
            } else {
                Search((key->modifiers() & Qt::ShiftModifier) ? SearchCommand::FindPrevious
                                                              : SearchCommand::FindNext);
            }
            view_->setFocus();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace varnolt::ui
