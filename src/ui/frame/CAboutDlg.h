#pragma once

#include <QDialog>

namespace varnolt::ui {

// The about box: the program's name, version line and legal notice.
class CAboutDlg final : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

} // namespace varnolt::ui
