#include "ui/settings/ChoiceButtons.h"

#include "ui/platform/QtText.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>

namespace varnolt::ui {

ChoiceButtons::ChoiceButtons(QWidget* parent, std::string_view title,
                             std::initializer_list<std::string_view> labels, int columns)
    : QButtonGroup(parent), box_(new QGroupBox(ToQString(title), parent)) {
    auto* layout = new QGridLayout(box_);
    int index = 0;
    for (std::string_view label : labels) {
        auto* radio = new QRadioButton(ToQString(label), box_);
        addButton(radio, index);
        layout->addWidget(radio, index / columns, index % columns);
        ++index;
    }
}

void ChoiceButtons::Show(int choice) {
    QAbstractButton* chosen = button(choice);
    if (chosen != nullptr) {
        chosen->setChecked(true);
        return;
    }
    // An exclusive group cannot be cleared by unchecking its checked button.
    setExclusive(false);
    for (QAbstractButton* radio : buttons()) {
        radio->setChecked(false);
    }
    setExclusive(true);
}

void ChoiceButtons::OnChosen(std::function<void(int)> chosen) {
    connect(this, &QButtonGroup::idClicked, this,
            [chosen = std::move(chosen)](int id) { chosen(id); });
}

} // namespace varnolt::ui
