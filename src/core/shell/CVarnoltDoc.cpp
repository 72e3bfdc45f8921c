#include "core/shell/CVarnoltDoc.h"

#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileReader.h"
#include "core/capture/CaptureFileWriter.h"
#include "core/link/protocol/CMoniterComm.h"
#include "core/platform/FileError.h"
#include "core/settings/SettingsCapture.h"

namespace varnolt {

CVarnoltDoc::CVarnoltDoc(UserPrompt& prompt, std::filesystem::path settingsFolder)
    : prompt_(prompt), settingsFolder_(std::move(settingsFolder)),
      capture_(std::make_unique<CCaptureData>()) {
    LoadSettingsFile();
}

CVarnoltDoc::~CVarnoltDoc() {
    // The link closes its port (and ends its reader thread) before anything else goes.
    link_.reset();
    // Written even when the folder could not be created; the writer reports a failure.
    settings_.SaveFile(settingsFilePath(), prompt_);
}

void CVarnoltDoc::AttachLink(const LinkServices& services) {
    link_ = std::make_unique<CMoniterComm>(services);
    link_->setConditionListener(linkListener_);
}

void CVarnoltDoc::setLinkConditionListener(std::function<void()> listener) {
    linkListener_ = std::move(listener);
    if (link_) {
        link_->setConditionListener(linkListener_);
    }
}

bool CVarnoltDoc::connected() const {
    return link_ != nullptr && link_->remoteMode() == 1;
}

bool CVarnoltDoc::measuring() const {
    return link_ != nullptr && link_->runState() == CMoniterComm::kRunning;
}

std::filesystem::path CVarnoltDoc::settingsFilePath() const {
    return settingsFolder_ / "vrn.ini";
}

std::filesystem::path CVarnoltDoc::DefaultSettingsFolder() {
    std::error_code ignored;
    return std::filesystem::current_path(ignored) / "Tavrix" / "Varnolt";
}

void CVarnoltDoc::LoadSettingsFile() {
    const std::filesystem::path& folder = settingsFolder_;
    std::error_code error;
    if (std::filesystem::is_directory(folder, error)) {
        const std::filesystem::path file = folder / "vrn.ini";
        if (std::filesystem::exists(file, error)) {
            settings_.LoadFile(file, prompt_);
            settings_.Normalize();
        }
        return;
    }
    // A folder that cannot be created is not reported: the settings keep their defaults.
    std::filesystem::create_directories(folder, error);
}

bool CVarnoltDoc::OnNewDocument() {
    pathName_.clear();
    capture_->Reset(CaptureConditionsOf(settings_));
    lineStates_.fill(0);
    device_.Clear();
    return true;
}

bool CVarnoltDoc::OnOpenDocument(const std::filesystem::path& path) {
    // A file that cannot be read replaces nothing: the reader leaves the store as it was.
    if (!ReadCaptureFile(path, *capture_, prompt_)) {
        return false;
    }
    holdsCapture_ = true;
    pathName_ = path;
    return true;
}

bool CVarnoltDoc::OnSaveDocument(const std::filesystem::path& path) {
    CaptureSaveRange range;
    range.source = SaveSource::Ring;
    range.first = capture_->firstIndex();
    range.last = capture_->lastIndex();
    const bool saved = WriteCaptureFile(path, capture_->header(), settings_.displayMode, *capture_,
                                        range, prompt_);
    if (saved) {
        pathName_ = path;
    }
    return saved;
}

void CVarnoltDoc::PublishDisplaySettings() {
    display_.mode = settings_.displayMode == 1 ? DisplayMode::Frame : DisplayMode::Continuous;
    display_.idleDisplay = capture_->header().idleDisplay;
    display_.timeDisplay = capture_->header().timeDisplay;
}

void CVarnoltDoc::AcceptSettings(const CSaParameter& settings) {
    settings_ = settings;
    ApplyFrameSettings(settings_, capture_->header());
    PublishDisplaySettings();
}

std::string CVarnoltDoc::title() const {
    if (pathName_.empty()) {
        return "Varnolt";
    }
    return PathText(pathName_.filename());
}

} // namespace varnolt
