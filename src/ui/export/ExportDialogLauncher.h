#pragma once

class QWidget;

namespace varnolt {
class CVarnoltDoc;
class UserPrompt;
struct AppSettings;
} // namespace varnolt

namespace varnolt::ui {

// The file-output command: opens CExport modally for DOCUMENT's capture with the published
// display settings and the export values of SETTINGS, and copies line length, character size
// and control-line output back into SETTINGS when the dialog is closed with its button.
void RunExportDialog(const CVarnoltDoc& document, AppSettings& settings, UserPrompt& prompt,
                     QWidget* parent);

} // namespace varnolt::ui
