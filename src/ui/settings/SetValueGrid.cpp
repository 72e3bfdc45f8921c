#include "ui/settings/SetValueGrid.h"

#include "ui/platform/QtText.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace varnolt::ui {

void AddSetValueHeader(QGridLayout& grid, std::initializer_list<std::string_view> titles) {
    int column = 1;
    for (std::string_view title : titles) {
        auto* label = new QLabel(ToQString(title), grid.parentWidget());
        label->setAlignment(Qt::AlignCenter);
        grid.addWidget(label, 0, column++);
    }
}

QLineEdit* AddSetValueRow(QGridLayout& grid, int line, QLabel*& current, QWidget* parent) {
    // The values are right-aligned in eight places: a fixed-pitch face keeps them in columns.
    const QFont digits = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    grid.addWidget(new QLabel(QString::number(line), parent), line, 0);
    auto* set = new QLineEdit(parent);
    set->setObjectName(QString("setValue%1").arg(line));
    set->setFont(digits);
    set->setMaxLength(10);
    set->setMinimumWidth(set->fontMetrics().horizontalAdvance("0000000000") + 12);
    current = new QLabel(parent);
    current->setObjectName(QString("currentValue%1").arg(line));
    current->setFont(digits);
    current->setFrameShape(QFrame::StyledPanel);
    current->setMinimumWidth(set->minimumWidth());
    grid.addWidget(set, line, 1);
    grid.addWidget(current, line, 2);
    return set;
}

} // namespace varnolt::ui
