// The start and stop commands of online reception.
#include "core/capture/AutomaticSave.h"
#include "core/capture/CaptureSaver.h"
#include "core/capture/SaveFileName.h"
#include "core/link/protocol/CMoniterComm.h"
#include "core/link/protocol/LinkMessages.h"
#include "core/link/reception/MeasurementMessages.h"
#include "core/link/reception/OnlineReception.h"
#include "core/link/reception/ReceptionView.h"
#include "core/platform/UserPrompt.h"
#include "core/settings/CSaParameter.h"

#include <charconv>
#include <string>

namespace varnolt {

// The format version the analyzer answers as text, as a number (0 when it is none).
int32_t FormatVersionNumber(const std::string& text) {
    int32_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

std::string RecordWidthDiffersNotice(uint16_t analyzerWidth) {
    const std::string_view analyzer = analyzerWidth == 1 ? "有り" : "無し";
    const std::string_view pc = analyzerWidth == 1 ? "無し" : "有り";
    return std::string("アナライザーの「制御ライン対応」は「") + std::string(analyzer) +
           "」、PCの設定は「" + std::string(pc) +
           "」です。受信データはアナライザーの設定で読み取ります。";
}

bool OnlineReception::Start() {
    CMoniterComm& link = context_.link;
    const AutoSaveOptions autoSave = context_.autoSave();
    if (autoSave.enabled && !IsSaveFolder(autoSave.folder)) {
        context_.owner.message(kAutoSaveFolderMissingMessage, kMessageCaption, PromptIcon::Error);
        return false;
    }
    if (link.runState() == CMoniterComm::kRunning) {
        return false;
    }
    // The exchanges below write the analyzer's conditions into the capture header; a start that
    // fails leaves the capture, header included, as it was.
    const CaptureHeader before = context_.store.header();
    bool running = false;
    std::string version;
    if (!link.GetFormatVersion(version)) {
        // The version query itself is silent; the user hears of it as of any failed exchange.
        context_.owner.message(kCommunicationFailedMessage, kConfirmCaption, PromptIcon::Warning);
    } else {
        context_.store.header().formatVersion = FormatVersionNumber(version);
        running = link.ReadSettings(&context_.owner, context_.store, true) &&
                  link.SetRunState(&context_.owner, CMoniterComm::kRunning);
    }
    if (!running) {
        context_.store.header() = before;
        context_.view.RefreshStatusAndPanes();
        return false;
    }
    link.setRunStateValue(CMoniterComm::kRunning);
    link.setLinkState(LinkState::Started);
    // The analyzer sends its items as wide as its own settings say, whatever the PC's settings
    // model holds (it may have been set up on its own keys): the blocks are read its way.
    const uint16_t analyzerWidth = context_.store.header().recordWidth;
    // The previous capture is gone: reception starts from empty.
    context_.renewDocument();
    context_.store.header().recordWidth = analyzerWidth;
    if (analyzerWidth != (context_.settings.controlLineCapture == 1 ? 1 : 0)) {
        context_.view.ShowNotice(RecordWidthDiffersNotice(analyzerWidth));
    }
    context_.store.applyAutoSaveFileSize(autoSave.fileSizeMegabytes);
    context_.store.saver().setFolder(autoSave.folder);
    context_.store.saver().setDisplayMode(context_.settings.displayMode);
    context_.trigger.Clear();
    attempts_ = ticks_ = 0;
    nextToDraw_ = 0;
    received_ = 0;
    firstBlock_ = true;
    sequence_.Forget();
    context_.view.OnMeasurementStarted(running);
    context_.view.RefreshStatusAndPanes();
    return running;
}

bool OnlineReception::Stop() {
    CMoniterComm& link = context_.link;
    const bool stopped = link.runState() != CMoniterComm::kStopped &&
                         link.SetRunState(&context_.owner, CMoniterComm::kStopped);
    if (stopped) {
        // The records the analyzer took since the last poll belong to this measurement; the
        // capture and its files end only where the analyzer's memory ends.
        const bool complete = FetchRemainingBlocks();
        context_.trigger.ExamineSlots(context_.store, received_);
        link.setLinkState(LinkState::Connected);
        link.setRunStateValue(CMoniterComm::kStopped);
        context_.view.OnMeasurementStopped();
        if (automaticSaving()) {
            SaveFinalBank(context_.store);
        }
        if (!complete) {
            context_.owner.message(kCommunicationFailedMessage, kConfirmCaption,
                                   PromptIcon::Warning);
        }
    }
    context_.view.RefreshStatusAndPanes();
    return stopped;
}

} // namespace varnolt
