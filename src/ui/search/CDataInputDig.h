#pragma once

#include "core/view/DataInputModel.h"

#include <QDialog>

#include <vector>

class QTabWidget;

namespace varnolt::ui {

class CTvEdit;
class CDataInputTabIdle;
class CDataInputTabDate;

// The modal dialog "文字入力": the edit in the cell font above the pages of its mode, and the
// first button ("検索" or "OK") with "キャンセル". The model decides; this class shows it.
class CDataInputDig final : public QDialog {
    Q_OBJECT

public:
    CDataInputDig(DataInputMode mode, const SearchCriteria& criteria, QWidget* parent);

    // The working copy, complete once the dialog was accepted.
    [[nodiscard]] const SearchCriteria& criteria() const { return model_.criteria(); }
    [[nodiscard]] CTvEdit& edit() { return *edit_; }
    [[nodiscard]] QTabWidget& tabs() { return *tabs_; }

private:
    void OnPageChanged(int index);
    void OnFirstButton();
    void InsertGlyph(GlyphCode code);
    QWidget* MakePage(DataInputPage page);

    DataInputModel model_;
    CTvEdit* edit_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    CDataInputTabIdle* idle_ = nullptr;
    CDataInputTabDate* date_ = nullptr;
    std::vector<DataInputPage> pages_;
};

} // namespace varnolt::ui
