#pragma once

#include "core/shell/AppSettings.h"
#include "core/shell/Commands.h"
#include "core/shell/RecentFileList.h"
#include "core/shell/ToolbarLayout.h"
#include "core/view/ViewLayout.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QDockWidget;
class QLabel;
class QMenu;
class QPrinter;
class QProgressBar;
class QTimer;
class QToolBar;

namespace varnolt {
class AnalyzerSession;
class CVarnoltDoc;
class ConfigStore;
class UserPrompt;
} // namespace varnolt

namespace varnolt::ui {

class CDockDeviceView;
class CDockTxView;
class CTvStatusBar;
class CVarnoltView;

// The single top-level window: menus, toolbar, status bar and the two dockable panes around
// the data view. Commands become update codes for the view; their enable and tick rules come
// from the document's state.
class CMainFrame final : public QMainWindow {
    Q_OBJECT

public:
    CMainFrame(CVarnoltDoc& document, ConfigStore& config, UserPrompt& prompt,
               QWidget* parent = nullptr);
    ~CMainFrame() override;

    [[nodiscard]] AppSettings& settings() { return settings_; }
    [[nodiscard]] CVarnoltView& view() { return *view_; }
    // The measurement session every analyzer command goes to.
    [[nodiscard]] AnalyzerSession& session() { return *session_; }
    [[nodiscard]] QAction* action(CommandId id) const;
    [[nodiscard]] CommandContext commandContext() const;

    // Re-evaluates every command's enable and tick rule, and the title.
    void RefreshCommandStates();

    // File commands, also used for the file named on the command line.
    bool NewDocument();
    bool OpenDocument(const std::filesystem::path& path);
    // The start of the program: the capture FILE names (when not empty), or a new capture when
    // there is none or it cannot be opened (its message has been shown). Either way the view is
    // laid out and its reception poll runs.
    void OpenAtStart(const std::filesystem::path& file);
    // "設定": the settings dialog; a FILE given (a settings file named on the command line) is
    // loaded into it as it opens.
    void RunSettings(const std::filesystem::path& file = {});

    // The window title says when the analyzer is the virtual one.
    void setSimulated(bool simulated);

    // Shows the transmit pane for a simulation line mode and hides it otherwise; the
    // timer/counter pane follows its flag.
    void UpdatePaneVisibility();

    // The capture's line conditions and the line lamps in the status bar, then both panes;
    // ALLLAMPS also refreshes the control-line lamps, not only SD and RD.
    void ShowConditions(bool allLamps);
    // The line lamps alone.
    void ShowLamps(bool allLamps);
    // The device status pane from the document's settings and status block.
    void RefreshDevicePane();
    // The analyzer settings changed (the settings dialog closed with OK): the transmit pane's
    // rows and the device pane's set values follow them.
    void AnalyzerSettingsChanged();

    [[nodiscard]] CTvStatusBar& tvStatusBar() { return *statusBar_; }
    [[nodiscard]] CDockTxView& txPane() { return *txPane_; }
    [[nodiscard]] CDockDeviceView& devicePane() { return *devicePane_; }

    // The toolbar's and the panes' context menu, with the toolbar's customize command.
    QMenu* createPopupMenu() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    // The toolbar's buttons as the layout orders them, the customize button last.
    void FillToolBar();
    void CustomizeToolBar();
    void CreateStatusBar();
    void CreatePanes();
    void OnCommand(CommandId id);
    // The commands of the measurement session and of the data view; false for any other.
    bool RunSessionCommand(CommandId id);
    bool RunViewCommand(CommandId id);
    void DisconnectAnalyzer();
    void DownloadStoredData();
    // A search command: the search dialog where the view's search needs criteria, then the
    // search in the view.
    void Search(SearchCommand command);
    // A capture was created or opened: the view lays it out, the poll starts over.
    void ShowNewCapture();
    // The session's 10 ms poll, single-shot and re-armed after each pass so passes never
    // overlap; it runs from the first capture on.
    void CreatePollTimer();
    void OnOpen();
    bool OnSave(bool askForName);
    // Received data that is on no file yet: asks whether to save it before a command throws it
    // away. False when the user keeps it (キャンセル, or a save that did not happen).
    bool MayDiscardCapture();
    // Writes the per-user values and the recent files as soon as they differ from what was
    // last written, so that a crash loses nothing.
    void SaveUserSettings();
    void UpdateRecentFileMenu();
    void UpdateTitle();
    void OnPrint();
    void OnPrintPreview();
    [[nodiscard]] QPrinter& printer();
    void ApplyDrawOptions();
    // The link's condition changed: commands, toolbar and status bar afresh.
    void OnLinkConditionChanged();
    // Reception's notice: in the status bar's message pane and in a window that does not
    // block, gathering the notices that come while it is open.
    void ShowNotice(const QString& text);

    CVarnoltDoc& document_;
    ConfigStore& config_;
    UserPrompt& prompt_;
    AppSettings settings_;
    RecentFileList recentFiles_;
    AppSettings writtenSettings_;
    std::vector<std::string> writtenRecentFiles_;
    int32_t timerCounterPane_ = 0;

    CVarnoltView* view_ = nullptr;
    std::unique_ptr<AnalyzerSession> session_;
    QTimer* pollTimer_ = nullptr;
    std::map<CommandId, QAction*> actions_;
    QMenu* recentMenu_ = nullptr;
    bool recentShowsPlaceholder_ = false;
    bool simulated_ = false;
    // The user closed the window during a download and agreed to cancel it.
    bool closeAfterOperation_ = false;
    QMenu* toolbarsMenu_ = nullptr;
    QAction* statusBarAction_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    ToolbarLayout toolbarLayout_;
    QAction* customizeButton_ = nullptr;
    std::unique_ptr<QPrinter> printer_;
    CDockTxView* txPane_ = nullptr;
    CDockDeviceView* devicePane_ = nullptr;
    CTvStatusBar* statusBar_ = nullptr;
    QPointer<QMessageBox> notice_; // reception's notices while it is open
    QStringList noticeTexts_;
};

} // namespace varnolt::ui
