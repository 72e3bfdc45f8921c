#pragma once

#include <initializer_list>
#include <string_view>

class QGridLayout;
class QLabel;
class QLineEdit;
class QWidget;

namespace varnolt::ui {

// The column titles of the timer and counter pages, from the second column on.
void AddSetValueHeader(QGridLayout& grid, std::initializer_list<std::string_view> titles);

// One row of those pages: its number ("1" …), the set-value edit (returned) and the read-only
// current value (in CURRENT).
[[nodiscard]] QLineEdit* AddSetValueRow(QGridLayout& grid, int line, QLabel*& current,
                                        QWidget* parent);

} // namespace varnolt::ui
