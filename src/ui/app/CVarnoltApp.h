#pragma once

#include <QApplication>

#include <memory>

class QMainWindow;

namespace varnolt::ui {

// The application object: sets up Qt, processes the command line and shows the main window.
class CVarnoltApp : public QApplication {
    Q_OBJECT

public:
    CVarnoltApp(int& argc, char** argv);
    ~CVarnoltApp() override;

    // Initialisation in its fixed order; false when the program cannot start.
    bool initInstance();

private:
    std::unique_ptr<QMainWindow> mainWindow_;
};

} // namespace varnolt::ui
