#include "ui/search/CDataInputDig.h"

#include "ui/platform/QtText.h"
#include "ui/search/CTvEdit.h"
#include "ui/search/DataInput.h"
#include "ui/search/DataInputTabs.h"

#include <QPushButton>
#include <QTabWidget>

namespace varnolt::ui {

namespace {

const QRect kEditRect{QPoint(20, 10), QPoint(660, 90)};
const QRect kTabsRect{10, 100, 680, 460};
constexpr int kButtonsY = 572;
const QSize kButtonSize{100, 28};
const QSize kDialogSize{700, 612};

} // namespace

CDataInputDig::CDataInputDig(DataInputMode mode, const SearchCriteria& criteria, QWidget* parent)
    : QDialog(parent), model_(mode, criteria) {
    setObjectName("CDataInputDig");
    setWindowTitle(ToQString(DataInputModel::kTitle));
    setFixedSize(kDialogSize);

    edit_ = new CTvEdit(
        [this](const std::string& previous, const std::string& current) {
            return model_.EditedText(previous, current);
        },
        this);
    edit_->setGeometry(kEditRect);

    tabs_ = new QTabWidget(this);
    tabs_->setGeometry(kTabsRect);
    for (const DataInputPage page : model_.info().pages) {
        pages_.push_back(page);
        tabs_->addTab(MakePage(page), ToQString(PageTitle(page)));
    }

    auto* first = new QPushButton(ToQString(model_.info().firstButton), this);
    first->setObjectName("3");
    first->setDefault(true);
    first->setGeometry(QRect(QPoint(kDialogSize.width() - 230, kButtonsY), kButtonSize));
    auto* cancel = new QPushButton(ToQString(DataInputModel::kCancel), this);
    cancel->setObjectName("2");
    cancel->setGeometry(QRect(QPoint(kDialogSize.width() - 120, kButtonsY), kButtonSize));
    connect(first, &QPushButton::clicked, this, &CDataInputDig::OnFirstButton);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    edit_->setGlyphText(model_.initialText());
    const auto shown = std::find(pages_.begin(), pages_.end(), model_.firstPage());
    tabs_->setCurrentIndex(static_cast<int>(shown - pages_.begin()));
    OnPageChanged(tabs_->currentIndex());
    connect(tabs_, &QTabWidget::currentChanged, this, &CDataInputDig::OnPageChanged);
    edit_->setFocus();
}

QWidget* CDataInputDig::MakePage(DataInputPage page) {
    switch (page) {
    case DataInputPage::Characters: {
        auto* moji = new CDataInputTabMoji(tabs_);
        connect(moji, &CDataInputTabMoji::glyphChosen, this, &CDataInputDig::InsertGlyph);
        return moji;
    }
    case DataInputPage::SpecialCharacters: {
        auto* other = new CDataInputTabOther(model_, tabs_);
        connect(other, &CDataInputTabOther::glyphChosen, this, &CDataInputDig::InsertGlyph);
        return other;
    }
    case DataInputPage::Errors:
        return new CDataInputTabError(model_, tabs_);
    case DataInputPage::Idle:
        idle_ = new CDataInputTabIdle(model_, tabs_);
        return idle_;
    case DataInputPage::DateTime:
        date_ = new CDataInputTabDate(model_, tabs_);
        return date_;
    }
    return new QWidget(tabs_);
}

void CDataInputDig::OnPageChanged(int index) {
    if (index >= 0 && static_cast<size_t>(index) < pages_.size()) {
        edit_->setEnabled(DataInputModel::EditEnabled(pages_[static_cast<size_t>(index)]));
    }
}

void CDataInputDig::InsertGlyph(GlyphCode code) {
    if (!model_.CanInsertGlyph(edit_->glyphText())) {
        return;
    }
    edit_->InsertGlyph(code);
}

void CDataInputDig::OnFirstButton() {
    if (date_ != nullptr) {
        date_->Apply();
    }
    const DataInputPage shown = pages_.at(static_cast<size_t>(tabs_->currentIndex()));
    model_.Accept(edit_->glyphText(), shown, idle_ != nullptr ? idle_->lowerText() : "",
                  idle_ != nullptr ? idle_->upperText() : "");
    accept();
}

bool RunCharacterInput(QWidget* parent, DataInputMode mode, CharacterPattern& pattern) {
    SearchCriteria copy;
    copy.pattern = pattern;
    CDataInputDig dialog(mode, copy, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    pattern = dialog.criteria().pattern;
    return true;
}

bool RunSearchInput(QWidget* parent, SearchCriteria& criteria) {
    CDataInputDig dialog(DataInputMode::Search, criteria, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    criteria = dialog.criteria();
    return true;
}

} // namespace varnolt::ui
