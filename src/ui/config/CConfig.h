#pragma once

#include "core/shell/EnvironmentSettings.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;

namespace varnolt::ui {

// The environment settings dialog "環境設定": automatic saving on the "ファイル" tab, the
// automatic read and write of the analyzer settings on the "リモート" tab. It edits copies;
// settings() holds them when the dialog was accepted.
class CConfig final : public QDialog {
    Q_OBJECT

public:
    CConfig(const EnvironmentSettings& settings, QWidget* parent = nullptr);

    [[nodiscard]] const EnvironmentSettings& settings() const { return settings_; }

private:
    QWidget* CreateFilePage();
    QWidget* CreateRemotePage();
    void BrowseFolder();

    EnvironmentSettings settings_;
    QLabel* folderText_ = nullptr;
};

} // namespace varnolt::ui
