#pragma once

#include <QApplication>

#include <memory>

namespace varnolt {
class CVarnoltDoc;
}

namespace varnolt::ui {

class CMainFrame;
class LinkEnvironment;
class QtConfigStore;
class QtUserPrompt;

// The application object: sets up Qt, creates the document and the main frame, opens the
// capture file named on the command line and shows the main window.
class CVarnoltApp final : public QApplication {
    Q_OBJECT

public:
    CVarnoltApp(int& argc, char** argv);
    ~CVarnoltApp() override;

    // Initialisation in its fixed order; false when the program cannot start.
    bool InitInstance();

    [[nodiscard]] CMainFrame* mainFrame() const { return frame_.get(); }
    [[nodiscard]] CVarnoltDoc* document() const { return document_.get(); }

private:
    std::unique_ptr<QtUserPrompt> prompt_;
    std::unique_ptr<QtConfigStore> config_;
    std::unique_ptr<LinkEnvironment> link_;
    std::unique_ptr<CVarnoltDoc> document_;
    std::unique_ptr<CMainFrame> frame_;
};

} // namespace varnolt::ui
