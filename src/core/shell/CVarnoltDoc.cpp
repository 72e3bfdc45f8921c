#include "core/shell/CVarnoltDoc.h"

#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileReader.h"
#include "core/capture/CaptureFileWriter.h"
#include "core/link/protocol/CMoniterComm.h"
#include "core/platform/FileError.h"
#include "core/platform/UserPrompt.h"
#include "core/settings/SettingsCapture.h"

#include <string>
#include <string_view>

namespace varnolt {

namespace {

// "kept.tvd（一部のみ読込み）": the title of a capture that holds only part of its file.
constexpr std::string_view kIncompleteMark = "（一部のみ読込み）";

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    return a == b || std::filesystem::equivalent(a, b, error);
}

} // namespace

CVarnoltDoc::CVarnoltDoc(UserPrompt& prompt, std::filesystem::path settingsFolder)
    : prompt_(prompt), settingsFolder_(std::move(settingsFolder)),
      capture_(std::make_unique<CCaptureData>()) {
    LoadSettingsFile();
}

CVarnoltDoc::~CVarnoltDoc() {
    // The link closes its port (and ends its reader thread) before anything else goes.
    link_.reset();
    // Written even when the folder could not be created; the writer reports a failure.
    SaveSettingsFile();
}

bool CVarnoltDoc::SaveSettingsFile() {
    return settings_.SaveFile(settingsFilePath(), prompt_);
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
    unsaved_ = false;
    incomplete_ = false;
    capture_->Reset(CaptureConditionsOf(settings_));
    lineStates_.fill(0);
    device_.Clear();
    return true;
}

void CVarnoltDoc::OnNewReceivedCapture(bool autoSaved) {
    OnNewDocument();
    unsaved_ = !autoSaved;
}

bool CVarnoltDoc::OnOpenDocument(const std::filesystem::path& path) {
    // A file that cannot be read replaces nothing: the reader leaves the store as it was.
    const CaptureLoadResult load = LoadCaptureFile(path, *capture_, prompt_);
    if (!load.loaded) {
        return false;
    }
    holdsCapture_ = true;
    pathName_ = path;
    unsaved_ = false;
    incomplete_ = !load.complete;
    fileRecords_ = load.fileRecords;
    return true;
}

bool CVarnoltDoc::modified() const {
    return unsaved_ && capture_->Count() > 0;
}

bool CVarnoltDoc::NeedsSaveQuestion(bool ask) const {
    return ask && modified();
}

bool CVarnoltDoc::OnSaveDocument(const std::filesystem::path& path) {
    if (incomplete_ && SameFile(path, pathName_)) {
        const std::string question =
            "このファイルは一部しか読み込めませんでした（" + std::to_string(fileRecords_) +
            " 件中 " + std::to_string(capture_->Count()) +
            " 件）。\n上書きすると、読み込めなかった記録は失われます。\n上書き保存しますか？";
        if (prompt_.ask(question, "確認", PromptButtons::YesNo, PromptIcon::Warning) !=
            PromptAnswer::Yes) {
            return false;
        }
    }
    CaptureSaveRange range;
    range.source = SaveSource::Ring;
    range.first = capture_->firstIndex();
    range.last = capture_->lastIndex();
    const bool saved = WriteCaptureFile(path, capture_->header(), settings_.displayMode, *capture_,
                                        range, prompt_);
    if (saved) {
        // The file now holds exactly this capture.
        pathName_ = path;
        unsaved_ = false;
        incomplete_ = false;
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
    std::string title = pathName_.empty() ? "Varnolt" : PathText(pathName_.filename());
    if (incomplete_) {
        title += kIncompleteMark;
    }
    if (modified()) {
        title += '*';
    }
    return title;
}

} // namespace varnolt
