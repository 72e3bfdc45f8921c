// The commands the frame hands to the measurement session and to the data view; after an
// analyzer command the panes and the status bar follow what it did.
#include "core/link/protocol/CMoniterComm.h"
#include "core/shell/AnalyzerSession.h"
#include "core/shell/CVarnoltDoc.h"
#include "ui/export/ExportDialogLauncher.h"
#include "ui/frame/CMainFrame.h"
#include "ui/frame/CTvStatusBar.h"
#include "ui/frame/StatusProgress.h"
#include "ui/platform/QtClock.h"
#include "ui/search/DataInput.h"
#include "ui/view/CVarnoltView.h"

#include <QTimer>

namespace varnolt::ui {

namespace {

constexpr int kPollIntervalMs = 10;

} // namespace

void CMainFrame::CreatePollTimer() {
    pollTimer_ = new QTimer(this);
    pollTimer_->setSingleShot(true);
    connect(pollTimer_, &QTimer::timeout, this, [this] {
        session_->Tick();
        pollTimer_->start(kPollIntervalMs);
    });
}

void CMainFrame::ShowNewCapture() {
    view_->InitialUpdate();
    session_->OnNewCapture();
    ShowConditions(true);
    if (!pollTimer_->isActive()) {
        pollTimer_->start(kPollIntervalMs);
    }
}

bool CMainFrame::RunSessionCommand(CommandId id) {
    if (document_.link() == nullptr) {
        return false;
    }
    switch (id) {
    case kCmdConnect:
        session_->Connect();
        // Whatever the outcome, files can no longer be dropped on the window.
        setAcceptDrops(false);
        break;
    case kCmdDisconnect:
        DisconnectAnalyzer();
        break;
    case kCmdStart:
        if (MayDiscardCapture()) {
            session_->Start();
        }
        break;
    case kCmdStop:
        session_->Stop();
        break;
    case kCmdOnlineDataReceive:
        if (MayDiscardCapture()) {
            DownloadStoredData();
        }
        break;
    case kCmdStatusPaneRs:
    case kCmdStatusPaneEr:
        // The session refreshes the lamps itself.
        session_->ToggleLineOutput(id == kCmdStatusPaneRs ? kLineRs : kLineEr);
        return true;
    default:
        return false;
    }
    UpdatePaneVisibility();
    ShowConditions(true);
    return true;
}

void CMainFrame::DisconnectAnalyzer() {
    if (document_.link() == nullptr) {
        return;
    }
    if (session_->Disconnect()) {
        view_->OnDisconnected();
    }
    // Refused during a measurement: files still cannot be dropped.
    setAcceptDrops(!document_.connected());
}

void CMainFrame::DownloadStoredData() {
    QtPump pump;
    session_->Download(statusBar_->progress(), pump);
    statusBar_->progress().ShowProgress(-1);
}

bool CMainFrame::RunViewCommand(CommandId id) {
    switch (id) {
    case kCmdExport:
        RunExportDialog(document_, settings_, prompt_, this);
        return true;
    case kCmdFind:
        Search(SearchCommand::Dialog);
        return true;
    case kCmdFindNext:
        Search(SearchCommand::FindNext);
        return true;
    case kCmdFindPrevious:
        Search(SearchCommand::FindPrevious);
        return true;
    default:
        return false;
    }
}

void CMainFrame::Search(SearchCommand command) {
    if (view_->search().NeedsDialog(command)) {
        SearchCriteria criteria = view_->search().criteria();
        if (!RunSearchInput(this, criteria)) {
            return;
        }
        view_->setSearchCriteria(criteria);
    }
    view_->Find(command);
}

} // namespace varnolt::ui
