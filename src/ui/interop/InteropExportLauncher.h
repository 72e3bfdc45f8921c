#pragma once

class QWidget;

namespace varnolt {
class CVarnoltDoc;
class UserPrompt;
} // namespace varnolt

namespace varnolt::ui {

// The "エクスポート" command: asks for the output file (pcapng or VCD) and converts DOCUMENT's
// capture into it, placed in time from the capture file's modification time when its stamps
// leave the clock open.
void RunInteropExportDialog(const CVarnoltDoc& document, UserPrompt& prompt, QWidget* parent);

} // namespace varnolt::ui
