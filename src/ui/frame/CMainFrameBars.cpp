#include "core/capture/CCaptureData.h"
#include "core/platform/ConfigStore.h"
#include "core/shell/AnalyzerSession.h"
#include "core/shell/CVarnoltDoc.h"
#include "ui/frame/CMainFrame.h"
#include "ui/frame/CTvStatusBar.h"
#include "ui/frame/ToolbarCustomizeDialog.h"
#include "ui/panes/CDockDeviceView.h"
#include "ui/panes/CDockTxView.h"
#include "ui/platform/QtText.h"

#include <QAction>
#include <QDockWidget>
#include <QFile>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QWidgetAction>

// The main frame's bars and panes: menus, toolbar, status bar and the two dockable panes.

namespace varnolt::ui {

namespace {

QString IconName(CommandId id) {
    return QString(":/icons/cmd%1.png").arg(static_cast<int>(id));
}

} // namespace

void CMainFrame::CreateActions() {
    for (const CommandText& command : AllCommandTexts()) {
        QString text = ToQString(command.menuText);
        auto* action = new QAction(this);
        const bool searchKey =
            command.id == kCmdFind || command.id == kCmdFindNext || command.id == kCmdFindPrevious;
        if (!command.shortcut.empty()) {
            if (searchKey) {
                // Shown in the menu only: the frame's event filter handles these keys.
                text += '\t' + ToQString(command.shortcut);
            } else {
                action->setShortcut(QKeySequence(ToQString(command.shortcut)));
            }
        }
        action->setText(text);
        action->setStatusTip(ToQString(command.toolTip));
        action->setToolTip(ToQString(command.toolTip));
        // An icon made from a missing file is not null but draws nothing: in a menu a ticked
        // command would show an empty frame instead of its tick.
        if (QFile::exists(IconName(command.id))) {
            action->setIcon(QIcon(IconName(command.id)));
        }
        action->setData(static_cast<int>(command.id));
        const CommandId id = command.id;
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        actions_[id] = action;
    }
}

void CMainFrame::CreateMenus() {
    QMenu* file = menuBar()->addMenu("ファイル(&F)");
    file->addAction(action(kCmdFileNew));
    file->addAction(action(kCmdFileOpen));
    file->addAction(action(kCmdFileSave));
    file->addAction(action(kCmdFileSaveAs));
    file->addSeparator();
    file->addAction(action(kCmdFilePrint));
    file->addAction(action(kCmdFilePrintPreview));
    file->addAction(action(kCmdFilePrintSetup));
    file->addSeparator();
    file->addAction(action(kCmdExport));
    file->addAction(action(kCmdInteropExport));
    file->addSeparator();
    recentMenu_ = file->addMenu(ToQString(FindCommandText(kCmdRecentFile)->menuText));
    file->addSeparator();
    file->addAction(action(kCmdAppExit));

    QMenu* edit = menuBar()->addMenu("編集(&E)");
    edit->addAction(action(kCmdFind));
    edit->addAction(action(kCmdFindNext));
    edit->addAction(action(kCmdFindPrevious));

    QMenu* view = menuBar()->addMenu("表示(&V)");
    toolbarsMenu_ = view->addMenu("ツール バーとドッキング ウィンドウ(&T)");
    statusBarAction_ = view->addAction("ステータス バー(&S)");
    statusBarAction_->setData(static_cast<int>(kCmdStatusBar));
    statusBarAction_->setCheckable(true);
    statusBarAction_->setChecked(true);
    connect(statusBarAction_, &QAction::toggled, this,
            [this](bool on) { statusBar()->setVisible(on); });
    view->addSeparator();
    view->addAction(action(kCmdHexView));
    view->addAction(action(kCmdControlLineView));
    view->addAction(action(kCmdTimerCounterPane));
    view->addAction(action(kCmdStatistics));
    view->addSeparator();
    view->addAction(action(kCmdLinePatternLines));
    view->addAction(action(kCmdLinePatternFilled));

    QMenu* remote = menuBar()->addMenu("通信(&C)");
    remote->addAction(action(kCmdConnect));
    remote->addAction(action(kCmdDisconnect));
    remote->addSeparator();
    remote->addAction(action(kCmdStart));
    remote->addAction(action(kCmdStop));
    remote->addSeparator();
    remote->addAction(action(kCmdOnlineDataReceive));
    remote->addAction(action(kCmdSavedFileReceive));
    remote->addSeparator();
    remote->addAction(action(kCmdSettings));
    remote->addAction(action(kCmdFirmwareUpdate));
    remote->addAction(action(kCmdScreenCapture));

    QMenu* tools = menuBar()->addMenu("ツール(&T)");
    tools->addAction(action(kCmdEnvironment));

    QMenu* help = menuBar()->addMenu("ヘルプ(&H)");
    help->addAction(action(kCmdAppAbout));

    for (QMenu* menu : {file, edit, view, remote, tools, help}) {
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::RefreshCommandStates);
    }
}

void CMainFrame::CreateToolBar() {
    toolBar_ = addToolBar("標準");
    toolBar_->setObjectName("toolbar107");
    toolBar_->setIconSize(QSize(16, 16));
    toolBar_->setMovable(true);
    // The customize button: a small arrow at the toolbar's end, as its context menu offers too.
    auto* arrow = new QToolButton(toolBar_);
    arrow->setArrowType(Qt::DownArrow);
    arrow->setAutoRaise(true);
    arrow->setToolTip(action(kCmdToolbarCustomize)->toolTip());
    connect(arrow, &QToolButton::clicked, action(kCmdToolbarCustomize), &QAction::trigger);
    auto* button = new QWidgetAction(toolBar_);
    button->setDefaultWidget(arrow);
    customizeButton_ = button;
    toolbarLayout_.read(config_);
    FillToolBar();
}

void CMainFrame::FillToolBar() {
    toolBar_->clear();
    for (const CommandId id : toolbarLayout_.buttons()) {
        if (id == ToolbarLayout::kSeparator) {
            toolBar_->addSeparator();
        } else {
            toolBar_->addAction(action(id));
        }
    }
    toolBar_->addAction(customizeButton_);
}

void CMainFrame::CustomizeToolBar() {
    ToolbarCustomizeDialog dialog(
        toolbarLayout_, [this](CommandId id) { return action(id); }, this);
    if (dialog.exec() == QDialog::Accepted && !(dialog.layout() == toolbarLayout_)) {
        toolbarLayout_ = dialog.layout();
        toolbarLayout_.write(config_);
        config_.Flush();
        FillToolBar();
    }
}

QMenu* CMainFrame::createPopupMenu() {
    QMenu* menu = QMainWindow::createPopupMenu();
    if (menu != nullptr) {
        menu->addSeparator();
        menu->addAction(action(kCmdToolbarCustomize));
    }
    return menu;
}

void CMainFrame::CreateStatusBar() {
    statusBar_ = new CTvStatusBar(this);
    setStatusBar(statusBar_);
    statusBar_->Setup(&document_);
    // The RS and ER lamps are commands 207 and 208; the other panes do nothing.
    connect(statusBar_, &CTvStatusBar::paneDoubleClicked, this, [this](int id) {
        if (id == kCmdStatusPaneRs || id == kCmdStatusPaneEr) {
            OnCommand(static_cast<CommandId>(id));
        }
    });
}

void CMainFrame::CreatePanes() {
    txPane_ = new CDockTxView(this);
    txPane_->Fill(document_.settings());
    addDockWidget(Qt::RightDockWidgetArea, txPane_);
    connect(txPane_, &CDockTxView::transmitRequested, this,
            [this](int entry) { session_->Transmit(entry); });

    devicePane_ = new CDockDeviceView(this);
    addDockWidget(Qt::LeftDockWidgetArea, devicePane_);
    RefreshDevicePane();

    toolbarsMenu_->addAction(toolBar_->toggleViewAction());
    toolbarsMenu_->addAction(txPane_->toggleViewAction());
    toolbarsMenu_->addAction(devicePane_->toggleViewAction());
    toolbarsMenu_->addSeparator();
    toolbarsMenu_->addAction(action(kCmdToolbarCustomize));

    // The panes show what the analyzer simulates; they start hidden.
    txPane_->hide();
    devicePane_->hide();
}

void CMainFrame::ShowConditions(bool allLamps) {
    statusBar_->ShowConditions(&document_);
    statusBar_->ShowLamps(&document_, allLamps);
    RefreshDevicePane();
}

void CMainFrame::ShowLamps(bool allLamps) {
    statusBar_->ShowLamps(&document_, allLamps);
}

void CMainFrame::RefreshDevicePane() {
    devicePane_->setSources(&document_.settings(), &document_.device().status());
    devicePane_->Refresh();
}

void CMainFrame::AnalyzerSettingsChanged() {
    txPane_->Fill(document_.settings());
    RefreshDevicePane();
}

void CMainFrame::UpdatePaneVisibility() {
    // The transmit pane belongs to the simulation line modes; the timer/counter pane to its flag.
    const uint16_t lineMode = document_.capture().header().lineMode;
    txPane_->setVisible(lineMode == 2 || lineMode == 4);
    devicePane_->setVisible(timerCounterPane_ == 1);
}

} // namespace varnolt::ui
