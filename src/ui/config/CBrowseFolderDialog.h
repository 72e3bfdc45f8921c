#pragma once

#include <QString>

class QWidget;

namespace varnolt::ui {

// The folder browser of the environment settings and of saved-file reception: file-system
// folders only, not started at any folder. Empty when it was cancelled.
class CBrowseFolderDialog {
public:
    static constexpr const char* kDefaultTitle = "保存先フォルダーを選択してください";

    [[nodiscard]] static QString Run(QWidget* parent, const QString& title = kDefaultTitle);
};

} // namespace varnolt::ui
