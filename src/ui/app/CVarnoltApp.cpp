#include "ui/app/CVarnoltApp.h"

#include "core/shell/CVarnoltDoc.h"
#include "core/shell/OpenedFileKind.h"
#include "sim/PortBackends.h"
#include "ui/app/LinkEnvironment.h"
#include "ui/app/QtTranslations.h"
#include "ui/frame/CMainFrame.h"
#include "ui/platform/QtConfigStore.h"
#include "ui/platform/QtUserPrompt.h"
#include "ui/platform/Resources.h"

#include <QCommandLineParser>
#include <QFont>
#include <QStyleFactory>
#include <QTimer>

#include <cstdio>

namespace varnolt::ui {

namespace {

// Every text of the program is Japanese. Name the usual Japanese faces after the default one so
// that characters the default face lacks come from one of them, never from the cell font, whose
// pictures sit at a few hundred kanji code points.
void UseJapaneseFallbackFonts() {
    QFont font = QApplication::font();
    font.setFamilies({font.family(), "IPAGothic", "IPAPGothic", "Noto Sans CJK JP", "Noto Sans JP",
                      "Source Han Sans JP", "VL Gothic", "TakaoGothic", "Droid Sans Fallback",
                      "Yu Gothic UI", "Meiryo UI", "MS UI Gothic"});
    QApplication::setFont(font);
}

} // namespace

CVarnoltApp::CVarnoltApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("Varnolt");
    setOrganizationName("TavrixVRN");
    setApplicationVersion(VARNOLT_VERSION_TEXT);
    InitResources();
    InstallQtJapaneseTranslations(*this);
    // Object linking, shell registration, DDE and taskbar thumbnails have no counterpart here.
}

CVarnoltApp::~CVarnoltApp() {
    // The document goes first, while the frame that parents its message boxes still exists
    // (writing "vrn.ini" may fail and say so); then the frame writes the per-user values.
    document_.reset();
    frame_.reset();
    link_.reset();
}

bool CVarnoltApp::InitInstance() {
    setStyle(QStyleFactory::create("Fusion"));
    UseJapaneseFallbackFonts();

    // The port and traffic options are taken out first; the rest is Qt's and the file name.
    std::vector<std::string> arguments;
    for (const QString& argument : QCoreApplication::arguments().mid(1)) {
        arguments.push_back(argument.toStdString());
    }
    const sim::PortAndTraffic chosen = sim::SelectPortAndTraffic(arguments);
    const PortSelection& port = chosen.port;
    QStringList remaining{QCoreApplication::arguments().value(0)};
    for (const std::string& argument : port.remaining) {
        remaining << QString::fromStdString(argument);
    }

    QCommandLineParser parser;
    parser.setApplicationDescription("Varnolt: the PC companion of the serial-line analyzer.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        "file", "A capture file (.tvd) to open, or a settings file (.tvs) to load into \"設定\".",
        "[file]");
    parser.addOption({"port", "The USB backend: d2xx (FTDI's library), libftdi or sim.", "name"});
    parser.addOption({"simulate", "Work with the virtual analyzer (same as --port sim)."});
    parser.addOption({"traffic",
                      "What the virtual analyzer measures: exchanges (requests and responses with "
                      "idle gaps, the default), saturated (both lines busy back to back) or modbus "
                      "(a Modbus RTU master and its slaves).",
                      "kind"});
    parser.process(remaining);
    if (!port.error.empty()) {
        fprintf(stderr, "varnolt: %s\n", port.error.c_str());
        return false;
    }

    prompt_ = std::make_unique<QtUserPrompt>();
    config_ = std::make_unique<QtConfigStore>();
    link_ = std::make_unique<LinkEnvironment>(port.backend, *prompt_, chosen.traffic);
    document_ = std::make_unique<CVarnoltDoc>(*prompt_, CVarnoltDoc::DefaultSettingsFolder());
    if (link_->available()) {
        document_->AttachLink(link_->services());
    }
    frame_ = std::make_unique<CMainFrame>(*document_, *config_, *prompt_);
    prompt_->setParent(frame_.get());
    frame_->setSimulated(port.backend == PortBackend::Simulated);

    // A file that cannot be opened has been reported; the window then starts with a new
    // capture, its poll running as after any start. Each file the desktop opens starts a
    // program of its own (the desktop entry takes one file), so a second file never replaces
    // the capture or the measurement of a running window.
    const QByteArray utf8 = parser.positionalArguments().value(0).toUtf8();
    const std::filesystem::path file(std::u8string(utf8.begin(), utf8.end()));
    const bool settingsFile = !file.empty() && KindOfOpenedFile(file) == OpenedFileKind::Settings;
    frame_->OpenAtStart(settingsFile ? std::filesystem::path() : file);

    frame_->resize(1100, 720);
    frame_->show();
    frame_->setAcceptDrops(true);
    if (settingsFile) {
        // "設定" with the file loaded, over the window once it shows.
        QTimer::singleShot(0, frame_.get(),
                           [frame = frame_.get(), file] { frame->RunSettings(file); });
    }
    return true;
}

} // namespace varnolt::ui
