#include "core/capture/CCaptureData.h"
#include "core/shell/CVarnoltDoc.h"
#include "core/view/StatusConditions.h"
#include "ui/frame/CMainFrame.h"
#include "ui/frame/StatusBarPanes.h"
#include "ui/frame/StatusProgress.h"
#include "ui/platform/QtText.h"

#include <QAction>
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolBar>

// The main frame's bars and panes: menus, toolbar, status bar and the two dockable panes.

namespace varnolt::ui {

namespace {

// Index of the SD lamp among the panes after the message pane.
constexpr size_t kFirstLampPane = 6;

// Toolbar order; 0 is a separator.
constexpr CommandId kToolBarOrder[] = {
    kCmdFileNew,     kCmdFileOpen, kCmdFileSave,        CommandId{0},          kCmdFilePrint,
    kCmdExport,      CommandId{0}, kCmdConnect,         kCmdDisconnect,        kCmdStart,
    kCmdStop,        kCmdSettings, CommandId{0},        kCmdOnlineDataReceive, kCmdSavedFileReceive,
    CommandId{0},    kCmdHexView,  kCmdControlLineView, kCmdTimerCounterPane,  CommandId{0},
    kCmdEnvironment, CommandId{0}, kCmdAppAbout,
};

QString IconName(CommandId id) {
    return QString(":/icons/cmd%1.png").arg(static_cast<int>(id));
}

} // namespace

void CMainFrame::createActions() {
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
        connect(action, &QAction::triggered, this, [this, id] { onCommand(id); });
        actions_[id] = action;
    }
}

void CMainFrame::createMenus() {
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
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::refreshCommandStates);
    }
}

void CMainFrame::createToolBar() {
    toolBar_ = addToolBar("標準");
    toolBar_->setObjectName("toolbar107");
    toolBar_->setIconSize(QSize(16, 16));
    toolBar_->setMovable(true);
    for (CommandId id : kToolBarOrder) {
        if (id == 0) {
            toolBar_->addSeparator();
        } else {
            toolBar_->addAction(action(id));
        }
    }
}

void CMainFrame::createStatusBar() {
    statusBar()->showMessage("レディ");
    progressBar_ = new QProgressBar(this);
    progressBar_->setRange(0, 100);
    progressBar_->setFixedWidth(150);
    progressBar_->setMaximumHeight(16);
    progressBar_->hide();
    statusBar()->addPermanentWidget(progressBar_);
    statusProgress_ = std::make_unique<StatusProgress>(*progressBar_);
    for (const StatusPane& pane : StatusBarPanes()) {
        auto* label = new QLabel(ToQString(pane.text), this);
        label->setObjectName(QString("pane%1").arg(pane.id));
        label->setAlignment(Qt::AlignCenter);
        label->setFixedWidth(pane.width);
        label->setFrameShape(QFrame::NoFrame);
        statusBar()->addPermanentWidget(label);
        statusPanes_.push_back(label);
    }
    // The first pane's place is the download's progress bar.
    statusPanes_.front()->hide();
}

void CMainFrame::createPanes() {
    txPane_ = new QDockWidget("送信 ビュー", this);
    txPane_->setObjectName("pane136");
    txPane_->setAllowedAreas(Qt::AllDockWidgetAreas);
    auto* txContents = new QWidget(txPane_);
    txContents->setMinimumSize(200, 150);
    txPane_->setWidget(txContents);
    addDockWidget(Qt::RightDockWidgetArea, txPane_);

    devicePane_ = new QDockWidget("タイマー・カウンタ ビュー", this);
    devicePane_->setObjectName("pane137");
    devicePane_->setAllowedAreas(Qt::AllDockWidgetAreas);
    auto* deviceContents = new QWidget(devicePane_);
    deviceContents->setMinimumSize(200, 100);
    devicePane_->setWidget(deviceContents);
    addDockWidget(Qt::LeftDockWidgetArea, devicePane_);

    toolbarsMenu_->addAction(toolBar_->toggleViewAction());
    toolbarsMenu_->addAction(txPane_->toggleViewAction());
    toolbarsMenu_->addAction(devicePane_->toggleViewAction());

    // The panes show what the analyzer simulates; they start hidden.
    txPane_->hide();
    devicePane_->hide();
}

void CMainFrame::showConditions(bool allLamps) {
    const CaptureHeader& header = document_.capture().header();
    const StatusConditionTexts texts = StatusConditionsOf(header);
    const std::optional<std::string>* conditions[] = {
        &texts.lineMode, &texts.speed, &texts.dataBits, &texts.parity, &texts.stopBits};
    for (size_t i = 0; i < std::size(conditions); ++i) {
        if (*conditions[i]) {
            statusPanes_[i + 1]->setText(QString::fromStdString(**conditions[i]));
        }
    }
    // Lamps SD RS ER RD CS DR CD CI: the send side green, the receive side aqua while
    // connected; on RS-422/485 only SD and RD remain.
    const bool rs422 = header.lineMode == 3 || header.lineMode == 4;
    const bool connected = document_.connected();
    const LineStates& states = document_.lineStates();
    for (size_t lamp = 0; lamp < states.size(); ++lamp) {
        QLabel* pane = statusPanes_[kFirstLampPane + lamp];
        const bool sdOrRd = lamp == kLineSd || lamp == kLineRd;
        if (header.lineMode >= 1 && header.lineMode <= 4) {
            pane->setVisible(!rs422 || sdOrRd);
        }
        if (!allLamps && !sdOrRd) {
            continue;
        }
        const bool sendSide = !rs422 && (lamp == kLineSd || lamp == kLineRs || lamp == kLineEr);
        QColor colour = sendSide ? QColor(70, 255, 70) : QColor(32, 244, 244);
        QString style;
        if (connected && states[lamp] == 1) {
            style = QString("background:%1;").arg(colour.name());
        } else if (connected && states[lamp] == 2) {
            style = QString("background:%1;color:#707070;").arg(colour.lighter(170).name());
        } else if (connected) {
            style = QString("color:%1;").arg(colour.darker(160).name());
        } else {
            style = "color:#909090;";
        }
        pane->setStyleSheet(style);
    }
}

void CMainFrame::updatePaneVisibility() {
    // Both panes belong to the simulation line modes; the timer/counter pane also to its flag.
    const uint16_t lineMode = document_.capture().header().lineMode;
    const bool simulation = lineMode == 2 || lineMode == 4;
    txPane_->setVisible(simulation);
    devicePane_->setVisible(simulation);
    devicePane_->setVisible(timerCounterPane_ == 1);
}

} // namespace varnolt::ui
