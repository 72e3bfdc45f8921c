#include "ui/app/CVarnoltApp.h"

#include <QMainWindow>

namespace varnolt::ui {

CVarnoltApp::CVarnoltApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("Varnolt");
    setOrganizationName("TavrixVRN");
    setApplicationVersion(VARNOLT_VERSION_TEXT);
}

CVarnoltApp::~CVarnoltApp() = default;

bool CVarnoltApp::initInstance() {
    mainWindow_ = std::make_unique<QMainWindow>();
    mainWindow_->setWindowTitle("Varnolt");
    mainWindow_->resize(1024, 700);
    mainWindow_->show();
    return true;
}

} // namespace varnolt::ui
