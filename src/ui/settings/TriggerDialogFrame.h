#pragma once

#include <QDialog>

#include <functional>
#include <string_view>

class QComboBox;
class QStackedWidget;
class QVBoxLayout;

namespace varnolt::ui {

// The frame the trigger condition and action dialogs share: a label and a drop-down list of
// kinds above one page per kind, and OK / キャンセル. Enter runs the shown page's check without
// closing; OK runs the check, writes back, and closes.
class TriggerDialogFrame : public QDialog {
    Q_OBJECT

public:
    TriggerDialogFrame(std::string_view title, std::string_view label, QWidget* parent);

protected:
    // Adds the page of the next kind with its name in the list.
    void AddKind(std::string_view name, QWidget* page);
    // Shows KIND (−1: no kind, no page) in the list and the pages.
    void ShowKind(int kind);
    // A kind chosen in the list; the page is shown after it ran.
    void OnKindChosen(std::function<void(int)> chosen);
    // Enter's check, and OK's check with the write-back.
    void OnCheck(std::function<void()> check) { check_ = std::move(check); }
    void OnAccept(std::function<void()> accepted) { accepted_ = std::move(accepted); }
    [[nodiscard]] QWidget* NewPage(const QString& name);

    void keyPressEvent(QKeyEvent* event) override;

private:
    QComboBox* kinds_;
    QStackedWidget* pages_;
    std::function<void()> check_;
    std::function<void()> accepted_;
};

} // namespace varnolt::ui
