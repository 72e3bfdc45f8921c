#pragma once

#include "core/link/reception/CDeviceEtc.h"
#include "core/link/reception/CTrigger.h"
#include "core/link/reception/LineStates.h"
#include "core/settings/CSaParameter.h"
#include "core/view/ViewTypes.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace varnolt {

class CCaptureData;
class CMoniterComm;
class UserPrompt;
struct LinkServices;

// The one document: owns the capture store, the analyzer settings and the device blocks.
// Views, dialogs and the main frame reach them through it. The analyzer settings persist in
// "vrn.ini" in the settings folder (the program passes Tavrix/Varnolt below the folder it was
// started from): read when the document is constructed, written when the settings dialog's OK
// changes them and again when the document is destroyed.
class CVarnoltDoc {
public:
    // SETTINGSFOLDER is created when it does not exist; a folder that cannot be created is not
    // reported (the settings keep their defaults).
    CVarnoltDoc(UserPrompt& prompt, std::filesystem::path settingsFolder);
    CVarnoltDoc(const CVarnoltDoc&) = delete;
    CVarnoltDoc& operator=(const CVarnoltDoc&) = delete;
    ~CVarnoltDoc();

    // A new, empty capture whose header takes the analyzer settings' conditions. The
    // holds-a-capture flag keeps its value.
    bool OnNewDocument();
    // The capture was renewed for records from the analyzer (a measurement or a download):
    // they are on no file until saved, unless AUTOSAVED (automatic saving writes them as they
    // arrive).
    void OnNewReceivedCapture(bool autoSaved);
    // Replaces the capture with the file's. False when the file cannot be opened or is refused
    // (reported to the user): the capture, the path and the holds-a-capture flag stay as they
    // were. Header fields the file does not carry keep their values. A file that ends or fails
    // among its records loads as far as it goes and the capture is marked incomplete.
    bool OnOpenDocument(const std::filesystem::path& path);
    // Writes the whole ring, oldest to newest, as a capture file. An incomplete capture is
    // written over the file it was loaded from only when the user agrees to lose the records
    // it could not read; false when the user declines or the write fails (PATH keeps what it
    // held).
    bool OnSaveDocument(const std::filesystem::path& path);

    // The capture holds records that are on no file yet.
    [[nodiscard]] bool modified() const;
    // The capture holds only the first records of the file it was loaded from.
    [[nodiscard]] bool incomplete() const { return incomplete_; }
    // Whether the capture may not be thrown away (closing, a new or opened capture, the next
    // measurement) without asking to save it first: it is modified and ASK, the user's option,
    // is on.
    [[nodiscard]] bool NeedsSaveQuestion(bool ask) const;
    // Writes the analyzer settings to "vrn.ini" now; a failure is reported.
    bool SaveSettingsFile();

    [[nodiscard]] bool holdsCapture() const { return holdsCapture_; }
    void setHoldsCapture(bool holds) { holdsCapture_ = holds; }

    [[nodiscard]] CCaptureData& capture() { return *capture_; }
    [[nodiscard]] const CCaptureData& capture() const { return *capture_; }
    // The analyzer link; null until AttachLink gave it its services.
    void AttachLink(const LinkServices& services);
    // Told after every change of the link's condition (connected, measuring, busy, failed);
    // kept for a link attached later.
    void setLinkConditionListener(std::function<void()> listener);
    [[nodiscard]] CMoniterComm* link() { return link_.get(); }
    [[nodiscard]] const CMoniterComm* link() const { return link_.get(); }
    // Remote mode 1; false without a link.
    [[nodiscard]] bool connected() const;
    // Run state 10 (a measurement runs); false without a link.
    [[nodiscard]] bool measuring() const;

    [[nodiscard]] CSaParameter& settings() { return settings_; }
    [[nodiscard]] const CSaParameter& settings() const { return settings_; }

    // The trigger-save slots of online reception.
    [[nodiscard]] CTrigger& trigger() { return trigger_; }
    // The device object with the status block the analyzer last reported; cleared by a new
    // document.
    [[nodiscard]] CDeviceEtc& device() { return device_; }
    [[nodiscard]] const CDeviceEtc& device() const { return device_; }

    // Display mode from the settings, idle and time display from the capture header.
    void PublishDisplaySettings();
    // The settings dialog's OK: SETTINGS become the document's; the display mode and the
    // capture header's frame detection time and delimiters follow them.
    void AcceptSettings(const CSaParameter& settings);
    [[nodiscard]] const DisplayState& displayState() const { return display_; }

    [[nodiscard]] const LineStates& lineStates() const { return lineStates_; }
    [[nodiscard]] LineStates& lineStates() { return lineStates_; }

    // The file the document was last opened from or saved to; empty for a new document.
    [[nodiscard]] const std::filesystem::path& pathName() const { return pathName_; }
    // The title shown in the window caption: the file name, or "Varnolt" when new; a mark
    // follows for an incomplete capture, then "*" for a modified one.
    [[nodiscard]] std::string title() const;

    // "vrn.ini" in the settings folder.
    [[nodiscard]] std::filesystem::path settingsFilePath() const;
    // Tavrix/Varnolt below the current directory: where the program keeps "vrn.ini".
    [[nodiscard]] static std::filesystem::path DefaultSettingsFolder();

private:
    void LoadSettingsFile();

    UserPrompt& prompt_;
    std::filesystem::path settingsFolder_;
    bool holdsCapture_ = false;
    std::unique_ptr<CCaptureData> capture_;
    CSaParameter settings_;
    std::unique_ptr<CMoniterComm> link_;
    std::function<void()> linkListener_;
    CTrigger trigger_;
    CDeviceEtc device_;
    LineStates lineStates_{};
    DisplayState display_;
    std::filesystem::path pathName_;
    bool unsaved_ = false;
    bool incomplete_ = false;
    uint32_t fileRecords_ = 0; // of the file an incomplete capture came from
};

} // namespace varnolt
