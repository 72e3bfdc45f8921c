#include "ui/app/CVarnoltApp.h"

#include "core/shell/CVarnoltDoc.h"
#include "ui/frame/CMainFrame.h"
#include "ui/platform/QtConfigStore.h"
#include "ui/platform/QtUserPrompt.h"
#include "ui/platform/Resources.h"

#include <QCommandLineParser>
#include <QStyleFactory>

namespace varnolt::ui {

CVarnoltApp::CVarnoltApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("Varnolt");
    setOrganizationName("TavrixVRN");
    setApplicationVersion(VARNOLT_VERSION_TEXT);
    InitResources();
    // Object linking, shell registration, DDE and taskbar thumbnails have no counterpart here.
}

CVarnoltApp::~CVarnoltApp() {
    // The frame goes first (it writes the per-user values), then the document.
    frame_.reset();
    document_.reset();
}

bool CVarnoltApp::initInstance() {
    setStyle(QStyleFactory::create("Fusion"));

    QCommandLineParser parser;
    parser.setApplicationDescription("Varnolt: the PC companion of the serial-line analyzer.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("file", "A capture file (.tvd) to open.", "[file]");
    parser.process(*this);

    prompt_ = std::make_unique<QtUserPrompt>();
    config_ = std::make_unique<QtConfigStore>();
    document_ = std::make_unique<CVarnoltDoc>(*prompt_);
    frame_ = std::make_unique<CMainFrame>(*document_, *config_, *prompt_);
    prompt_->setParent(frame_.get());

    const QStringList files = parser.positionalArguments();
    if (files.isEmpty()) {
        frame_->newDocument();
    } else {
        const QByteArray utf8 = files.front().toUtf8();
        frame_->openDocument(std::filesystem::path(std::u8string(utf8.begin(), utf8.end())));
    }

    frame_->resize(1100, 720);
    frame_->show();
    frame_->setAcceptDrops(true);
    return true;
}

} // namespace varnolt::ui
