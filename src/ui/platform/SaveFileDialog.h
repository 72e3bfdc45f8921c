#pragma once

#include <QString>

class QWidget;

namespace varnolt::ui {

// The file-save dialog with a default suffix: a name typed without one gets SUFFIX (no dot)
// before the dialog looks for an existing file, so its overwrite question also covers "data"
// when "data.tvd" exists. SUGGESTION may name a folder or a file. Empty when cancelled.
[[nodiscard]] QString AskSaveFileName(QWidget* parent, const QString& title,
                                      const QString& suggestion, const QString& filter,
                                      const QString& suffix);

} // namespace varnolt::ui
