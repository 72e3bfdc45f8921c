#pragma once

#include "core/link/savedfile/SaveChoice.h"

#include <QDialog>

#include <string_view>

class QCheckBox;
class QPushButton;

namespace varnolt::ui {

// "保存": asks whether a received file replaces a file of the same name; its two lines show the
// question and the file's name. choice() is what the pressed button and the check box
// "以降も同じ処理を行う" decide; closing the window counts as "キャンセル".
class CSaveDig final : public QDialog {
    Q_OBJECT

public:
    CSaveDig(std::string_view message, std::string_view fileLine, QWidget* parent = nullptr);

    [[nodiscard]] SaveChoice choice() const { return choice_; }

    [[nodiscard]] QPushButton* overwriteButton() const { return overwrite_; }
    [[nodiscard]] QPushButton* skipButton() const { return skip_; }
    [[nodiscard]] QPushButton* cancelButton() const { return cancel_; }
    [[nodiscard]] QCheckBox* sameForLaterBox() const { return sameForLater_; }

private:
    void Press(SaveDigButton button);

    SaveChoice choice_ = SaveChoice::Cancel;
    QPushButton* overwrite_ = nullptr;
    QPushButton* skip_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QCheckBox* sameForLater_ = nullptr;
};

// The overwrite question as the modal dialog "保存" over PARENT.
class QtOverwriteQuestion final : public OverwriteQuestion {
public:
    explicit QtOverwriteQuestion(QWidget* parent) : parent_(parent) {}

    [[nodiscard]] SaveChoice Ask(std::string_view message, std::string_view fileLine) override;

private:
    QWidget* parent_;
};

} // namespace varnolt::ui
