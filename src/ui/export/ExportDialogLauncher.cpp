#include "ui/export/ExportDialogLauncher.h"

#include "core/platform/FileError.h"
#include "core/shell/AppSettings.h"
#include "core/shell/CVarnoltDoc.h"
#include "ui/export/CExport.h"

namespace varnolt::ui {

void RunExportDialog(const CVarnoltDoc& document, AppSettings& settings, UserPrompt& prompt,
                     QWidget* parent) {
    const DisplayState& state = document.displayState();
    const ExportDisplay display{state.mode == DisplayMode::Frame ? ExportDisplay::Mode::Frame
                                                                 : ExportDisplay::Mode::Continuous,
                                state.idleDisplay, state.timeDisplay};
    const ExportSettings values{settings.exportLineLength,
                                settings.exportMojiSize == 1 ? ExportCharacterSize::HalfWidth
                                                             : ExportCharacterSize::FullWidth,
                                settings.exportLineOut == 1};
    CExport dialog(document.capture(), display, PathText(document.pathName()), values, prompt,
                   parent);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const ExportSettings& chosen = dialog.settings();
    settings.exportLineLength = chosen.lineLength;
    settings.exportMojiSize = static_cast<int32_t>(chosen.characterSize);
    settings.exportLineOut = chosen.controlLineOutput ? 1 : 0;
}

} // namespace varnolt::ui
