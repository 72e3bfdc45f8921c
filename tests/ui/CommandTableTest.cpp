#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileWriter.h"
#include "core/platform/MemoryConfigStore.h"
#include "core/shell/AnalyzerSession.h"
#include "core/shell/CVarnoltDoc.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"
#include "ui/frame/CMainFrame.h"
#include "ui/view/CVarnoltView.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDockWidget>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <functional>
#include <set>

#include "../core/link/SimulatedLink.h"

// Every command of the main frame, triggered as the menu and the toolbar trigger it, in each
// state where it is enabled, and checked for what it must reach: a dialog, a message or a
// changed state.
//
// A row whose work belongs to a part of the program not built yet says Pending: the test
// expects it to miss what it must reach. Whoever wires such a command changes that one word
// to Built in the same commit; a Pending row that starts reaching its target fails the test
// until then, so the table never goes stale. A command added to the command table needs a row.

using namespace varnolt;

namespace {

enum class Status { Built, Pending };

// The states the enable rules tell apart.
enum class State {
    Empty,     // a new document, no analyzer
    Capture,   // a capture file opened
    Connected, // the analyzer in remote mode
    Measuring, // the analyzer measuring
};

const char* StateName(State state) {
    switch (state) {
    case State::Empty:
        return "empty";
    case State::Capture:
        return "capture";
    case State::Connected:
        return "connected";
    case State::Measuring:
        return "measuring";
    }
    return "?";
}

// Status-bar panes act as commands too; they have no action but a pane to click.
constexpr int kPaneRs = 207;
constexpr int kPaneEr = 208;

// A main frame around a document whose link reaches a virtual analyzer on a manual clock, with
// a small capture file that is also the first recent file.
struct Rig {
    explicit Rig(const std::filesystem::path& capturePath) : capturePath(capturePath) {
        config.writeString(
            "Recent File List", "File1",
            std::string(reinterpret_cast<const char*>(capturePath.u8string().c_str())));
        frame = std::make_unique<ui::CMainFrame>(document, config, prompt);
        document.AttachLink(
            LinkServices{sim.bridge, sim.portPrompt, sim.clock, sim.time, sim.cursor, &sim.ring});
        frame->NewDocument();
        frame->resize(1000, 700);
        frame->show();
    }
    ~Rig() {
        // Leave remote mode quietly so the document's destruction finds a closed session.
        if (document.connected()) {
            document.link()->setRunStateValue(CMoniterComm::kStopped);
            frame->session().Disconnect();
        }
        frame.reset();
    }

    bool enter(State state) {
        switch (state) {
        case State::Empty:
            return true;
        case State::Capture:
            return frame->OpenDocument(capturePath);
        case State::Connected:
            frame->action(kCmdConnect)->trigger();
            return document.connected();
        case State::Measuring:
            frame->action(kCmdConnect)->trigger();
            frame->action(kCmdStart)->trigger();
            return document.measuring();
        }
        return false;
    }

    bool sent(std::string_view prefix) const {
        for (const std::string& request : sim.requests()) {
            if (request.starts_with(prefix)) {
                return true;
            }
        }
        return false;
    }

    std::filesystem::path capturePath;
    testing::SimulatedLink sim;
    testing::RecordingPrompt prompt;
    MemoryConfigStore config;
    testing::TempDir settingsFolder;
    CVarnoltDoc document{prompt, settingsFolder.path()};
    std::unique_ptr<ui::CMainFrame> frame;
};

// What a command must reach. A dialog is named by its class without namespace (a subclass
// counts); it is closed as soon as it shows.
struct Reach {
    QString dialog;
    std::string message;
    std::function<bool(Rig&)> effect;
    std::function<void(Rig&)> prepare; // run before the trigger, after entering the state
};

Reach Dialog(const char* className) {
    return {className, {}, {}, {}};
}

Reach Message(const char* text) {
    return {{}, text, {}, {}};
}

Reach Effect(std::function<bool(Rig&)> effect, std::function<void(Rig&)> prepare = {}) {
    return {{}, {}, std::move(effect), std::move(prepare)};
}

struct Row {
    int command;
    std::vector<State> states;
    Reach reach;
    Status status;
};

bool DevicePaneShown(Rig& rig) {
    auto* pane = rig.frame->findChild<QDockWidget*>("pane137");
    return pane != nullptr && pane->isVisible();
}

std::vector<Row> CommandRows() {
    const std::vector<State> anyIdle{State::Empty, State::Capture, State::Connected};
    const std::vector<State> offline{State::Empty, State::Capture};
    const std::vector<State> withCapture{State::Capture, State::Connected};
    const std::vector<State> always{State::Empty, State::Capture, State::Connected,
                                    State::Measuring};
    return {
        {kCmdFileNew, anyIdle,
         Effect(
             [](Rig& r) {
                 return r.document.capture().Count() == 0 && r.document.pathName().empty();
             },
             [](Rig& r) { r.document.capture().Append(0x10410000, 0); }),
         Status::Built},
        {kCmdFileOpen, offline, Dialog("QFileDialog"), Status::Built},
        {kCmdFileSave,
         {State::Capture},
         Effect([](Rig& r) { return std::filesystem::exists(r.capturePath); },
                [](Rig& r) { std::filesystem::remove(r.capturePath); }),
         Status::Built},
        {kCmdFileSaveAs, {State::Capture}, Dialog("QFileDialog"), Status::Built},
        {kCmdFilePrint, {State::Capture}, Dialog("QPrintDialog"), Status::Built},
        {kCmdFilePrintPreview, {State::Capture}, Dialog("CPrintPreviewDlg"), Status::Built},
        {kCmdFilePrintSetup, anyIdle, Dialog("QPageSetupDialog"), Status::Built},
        {kCmdExport, withCapture, Dialog("CExport"), Status::Built},
        {kCmdInteropExport, withCapture, Dialog("QFileDialog"), Status::Built},
        {kCmdStatistics, withCapture, Dialog("CStatisticsDig"), Status::Built},
        {kCmdRecentFile, offline,
         Effect([](Rig& r) { return r.document.pathName() == r.capturePath; },
                [](Rig& r) { r.frame->NewDocument(); }),
         Status::Built},
        {kCmdAppExit, always, Effect([](Rig& r) { return !r.frame->isVisible(); }), Status::Built},
        {kCmdFind, withCapture, Dialog("CDataInputDig"), Status::Built},
        {kCmdFindNext, withCapture, Dialog("CDataInputDig"), Status::Built},
        {kCmdFindPrevious, withCapture, Dialog("CDataInputDig"), Status::Built},
        {kCmdHexView,
         {State::Capture, State::Measuring},
         Effect([](Rig& r) { return r.frame->settings().hexView == 1; },
                [](Rig& r) { r.frame->settings().hexView = 0; }),
         Status::Built},
        {kCmdControlLineView,
         {State::Capture},
         Effect([](Rig& r) { return r.frame->view().controlLineView(); }),
         Status::Built},
        {kCmdTimerCounterPane, withCapture, Effect(DevicePaneShown), Status::Built},
        {kCmdLinePatternLines, always,
         Effect([](Rig& r) { return r.frame->settings().linePattern == 0; },
                [](Rig& r) { r.frame->settings().linePattern = 1; }),
         Status::Built},
        {kCmdLinePatternFilled, always,
         Effect([](Rig& r) { return r.frame->settings().linePattern == 1; },
                [](Rig& r) { r.frame->settings().linePattern = 0; }),
         Status::Built},
        {kCmdConnect, offline, Effect([](Rig& r) { return r.document.connected(); }),
         Status::Built},
        {kCmdDisconnect,
         {State::Connected},
         Effect([](Rig& r) { return !r.document.connected() && r.sent("ENW"); }),
         Status::Built},
        {kCmdDisconnect, {State::Measuring}, Message("開始中は切断できません"), Status::Built},
        {kCmdStart,
         {State::Connected},
         Effect([](Rig& r) { return r.document.measuring(); }),
         Status::Built},
        {kCmdStop,
         {State::Measuring},
         Effect([](Rig& r) { return r.document.connected() && !r.document.measuring(); }),
         Status::Built},
        {kCmdOnlineDataReceive,
         {State::Connected},
         Effect([](Rig& r) { return r.sent("BC") && !r.document.link()->busy(); }),
         Status::Built},
        {kCmdSavedFileReceive, {State::Connected}, Dialog("CMoniterReceive"), Status::Built},
        {kCmdSettings, anyIdle, Dialog("CSaParameterDlg"), Status::Built},
        {kCmdFirmwareUpdate, offline, Dialog("CMoniterProgramUp"), Status::Built},
        {kCmdScreenCapture, always, Dialog("CMoniterCapture"), Status::Built},
        {kCmdEnvironment, anyIdle, Dialog("CConfig"), Status::Built},
        {kCmdAppAbout, always, Dialog("CAboutDlg"), Status::Built},
        {kCmdToolbarCustomize, always, Dialog("ToolbarCustomizeDialog"), Status::Built},
        {kCmdStatusBar, always, Effect([](Rig& r) { return !r.frame->statusBar()->isVisible(); }),
         Status::Built},
        {kPaneRs, {State::Connected}, Effect([](Rig& r) { return r.sent("GL"); }), Status::Built},
        {kPaneEr, {State::Connected}, Effect([](Rig& r) { return r.sent("GL"); }), Status::Built},
    };
}

// The action that carries COMMAND: its id is the action's data.
QAction* ActionOf(ui::CMainFrame& frame, int command) {
    for (QAction* action : frame.findChildren<QAction*>()) {
        if (action->data().isValid() && action->data().toInt() == command) {
            return action;
        }
    }
    return nullptr;
}

// The first entry of the recent-file menu, as the user picks it.
QAction* RecentEntry(ui::CMainFrame& frame) {
    const QString title =
        QString::fromUtf8(FindCommandText(kCmdRecentFile)->menuText.data(),
                          static_cast<qsizetype>(FindCommandText(kCmdRecentFile)->menuText.size()));
    for (QMenu* menu : frame.findChildren<QMenu*>()) {
        if (menu->title() == title && !menu->actions().isEmpty()) {
            QAction* entry = menu->actions().front();
            return entry->isEnabled() ? entry : nullptr;
        }
    }
    return nullptr;
}

// Closes the first modal dialog that shows and remembers its classes.
class DialogCatcher {
public:
    DialogCatcher() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr || caught_) {
                return;
            }
            caught_ = true;
            for (const QMetaObject* meta = modal->metaObject(); meta != nullptr;
                 meta = meta->superClass()) {
                classes_ << QString(meta->className()).section("::", -1);
            }
            if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                dialog->reject();
            } else {
                modal->close();
            }
        });
        timer_.start();
    }

    [[nodiscard]] bool caught(const QString& className) const {
        return classes_.contains(className);
    }
    [[nodiscard]] QString seen() const { return classes_.join(" < "); }

private:
    QTimer timer_;
    bool caught_ = false;
    QStringList classes_;
};

// Triggers ROW's command in the rig's current state; true when it reached what it must.
bool TriggerAndCheck(Rig& rig, const Row& row, QString& why) {
    if (row.reach.prepare) {
        row.reach.prepare(rig);
        rig.frame->RefreshCommandStates();
    }
    const size_t messagesBefore = rig.prompt.entries.size();
    DialogCatcher catcher;
    if (row.command == kPaneRs || row.command == kPaneEr) {
        auto* pane = rig.frame->findChild<QWidget*>(QString("pane%1").arg(row.command));
        if (pane == nullptr) {
            why = "no status pane";
            return false;
        }
        QTest::mouseDClick(pane, Qt::LeftButton);
    } else {
        QAction* action = row.command == kCmdRecentFile ? RecentEntry(*rig.frame)
                                                        : ActionOf(*rig.frame, row.command);
        if (action == nullptr) {
            why = "no action carries the command";
            return false;
        }
        rig.frame->RefreshCommandStates();
        if (!action->isEnabled()) {
            why = "the action is disabled";
            return false;
        }
        action->trigger();
    }
    if (!row.reach.dialog.isEmpty()) {
        // A dialog opened by a queued step shows a moment later.
        const bool caught = QTest::qWaitFor([&] { return catcher.caught(row.reach.dialog); });
        why = "dialog seen: " + catcher.seen();
        return caught;
    }
    if (!row.reach.message.empty()) {
        for (size_t i = messagesBefore; i < rig.prompt.entries.size(); ++i) {
            if (rig.prompt.entries[i].text == row.reach.message) {
                return true;
            }
        }
        why = "message not shown";
        return false;
    }
    why = "the expected change did not happen";
    return row.reach.effect(rig);
}

} // namespace

class CommandTableTest : public QObject {
    Q_OBJECT

private slots:
    void everyCommandHasARow();
    void everyCommandReachesItsWork_data();
    void everyCommandReachesItsWork();

private:
    testing::TempDir files_;
};

void CommandTableTest::everyCommandHasARow() {
    std::set<int> rows;
    for (const Row& row : CommandRows()) {
        rows.insert(row.command);
    }
    for (const CommandText& command : AllCommandTexts()) {
        QVERIFY2(rows.contains(command.id),
                 qPrintable(QString("command %1 has no row").arg(command.id)));
    }
}

void CommandTableTest::everyCommandReachesItsWork_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("state");
    const std::vector<Row> rows = CommandRows();
    for (size_t i = 0; i < rows.size(); ++i) {
        for (State state : rows[i].states) {
            QTest::addRow("%d in %s", rows[i].command, StateName(state))
                << static_cast<int>(i) << static_cast<int>(state);
        }
    }
}

void CommandTableTest::everyCommandReachesItsWork() {
    QFETCH(int, row);
    QFETCH(int, state);
    const Row command = CommandRows().at(static_cast<size_t>(row));

    // A small capture with control lines, written afresh for every case.
    const auto path = files_ / "three.tvd";
    {
        testing::RecordingPrompt quiet;
        CCaptureData store(16);
        store.header().recordWidth = 1;
        store.Append(0x10410000, 0);
        store.Append(0x20420000, 0);
        store.Append(0x10430000, 0);
        const CaptureSaveRange range{SaveSource::Ring, store.firstIndex(), store.lastIndex()};
        QVERIFY(WriteCaptureFile(path, store.header(), 0, store, range, quiet));
    }
    Rig rig(path);
    QVERIFY2(rig.enter(static_cast<State>(state)), "the state could not be entered");
    rig.prompt.entries.clear();

    QString why;
    const bool reached = TriggerAndCheck(rig, command, why);
    if (command.status == Status::Pending) {
        QEXPECT_FAIL("", "pending: its part is not built yet", Continue);
    }
    QVERIFY2(reached, qPrintable(why));
}

QTEST_MAIN(CommandTableTest)
#include "CommandTableTest.moc"
