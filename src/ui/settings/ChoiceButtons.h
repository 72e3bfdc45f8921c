#pragma once

#include <QButtonGroup>
#include <QString>

#include <functional>
#include <initializer_list>
#include <string_view>

class QGroupBox;
class QWidget;

namespace varnolt::ui {

// A box of radio buttons that stands for one choice of a page model: button i is choice i.
// Show() checks the model's choice (none for −1); a click reports the button's index.
class ChoiceButtons final : public QButtonGroup {
    Q_OBJECT

public:
    // A titled box (TITLE may be empty: no frame title) with one radio button per label, laid
    // out in COLUMNS columns.
    ChoiceButtons(QWidget* parent, std::string_view title,
                  std::initializer_list<std::string_view> labels, int columns = 1);

    [[nodiscard]] QGroupBox* box() const { return box_; }
    // Checks button CHOICE without reporting it; −1 (or any index outside) checks none.
    void Show(int choice);
    void OnChosen(std::function<void(int)> chosen);

private:
    QGroupBox* box_;
};

} // namespace varnolt::ui
