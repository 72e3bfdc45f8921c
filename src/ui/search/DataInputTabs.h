#pragma once

#include "core/view/GlyphCodes.h"

#include <QWidget>

#include <array>

class QDateEdit;
class QLineEdit;
class QPushButton;
class QTimeEdit;

namespace varnolt {
class DataInputModel;
}

namespace varnolt::ui {

// The pages of the character input dialog. Each loads its fields from the dialog's model when it
// is made; the glyph pages report the glyph of a clicked button, the others change the model.

// "文字": 16 × 16 buttons, one per character value, each showing its glyph and its code.
class CDataInputTabMoji final : public QWidget {
    Q_OBJECT
public:
    explicit CDataInputTabMoji(QWidget* parent);
signals:
    void glyphChosen(varnolt::GlyphCode code);
};

// "特殊文字": the any, bit-mask and range marks, the bit-mask editor and the range bounds.
class CDataInputTabOther final : public QWidget {
    Q_OBJECT
public:
    CDataInputTabOther(DataInputModel& model, QWidget* parent);
signals:
    void glyphChosen(varnolt::GlyphCode code);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void EditBound(int range, bool high);
    void RefreshBounds();

    DataInputModel& model_;
    std::array<QPushButton*, 4> lowButtons_{};
    std::array<QPushButton*, 4> highButtons_{};
};

// "エラー": which line errors an error search finds.
class CDataInputTabError final : public QWidget {
    Q_OBJECT
public:
    CDataInputTabError(DataInputModel& model, QWidget* parent);
};

// "アイドル": the idle bounds in seconds.
class CDataInputTabIdle final : public QWidget {
    Q_OBJECT
public:
    CDataInputTabIdle(DataInputModel& model, QWidget* parent);
    [[nodiscard]] std::string lowerText() const;
    [[nodiscard]] std::string upperText() const;

private:
    QLineEdit* lower_ = nullptr;
    QLineEdit* upper_ = nullptr;
};

// "日時": the date and time bounds.
class CDataInputTabDate final : public QWidget {
    Q_OBJECT
public:
    CDataInputTabDate(DataInputModel& model, QWidget* parent);
    // Hands the four pickers' values to the model.
    void Apply();

private:
    DataInputModel& model_;
    QDateEdit* lowerDate_ = nullptr;
    QTimeEdit* lowerTime_ = nullptr;
    QDateEdit* upperDate_ = nullptr;
    QTimeEdit* upperTime_ = nullptr;
};

} // namespace varnolt::ui
