#pragma once

class QPrinter;
class QWidget;

namespace varnolt::ui {

class CapturePrinter;

// Prints the pages PRINTER's dialog chose, showing "印刷中: n / m ページ" with a cancel button
// once the print takes a moment. Cancel stops before the next page: what the printer or the
// file already got stays there, and nothing of the capture changes. True when every page was
// printed.
bool PrintWithProgress(CapturePrinter& capturePrinter, QPrinter& printer, QWidget* parent);

} // namespace varnolt::ui
