#pragma once

#include <filesystem>

class QWidget;

namespace varnolt {
class CVarnoltDoc;
class UserPrompt;
struct AppSettings;
} // namespace varnolt

namespace varnolt::ui {

// The command "設定": the settings dialog on a copy of DOCUMENT's analyzer settings, with the
// document's link marked busy while it is open (the reception timer then leaves the link alone).
// OK stores the automatic read and write flags into SETTINGS and hands the edited settings to
// the document. A FILE given is loaded into the dialog as it opens. Returns whether the dialog
// ended with OK.
bool RunSettingsDialog(CVarnoltDoc& document, AppSettings& settings, UserPrompt& prompt,
                       QWidget* parent, const std::filesystem::path& file = {});

} // namespace varnolt::ui
