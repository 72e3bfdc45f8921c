#include "ui/search/CTvEdit.h"

#include "core/platform/Cp932.h"
#include "core/view/PatternText.h"
#include "ui/search/CellFontText.h"

#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>

namespace varnolt::ui {

namespace {

constexpr int kEditFontHeight = 19;

} // namespace

CTvEdit::CTvEdit(EditRule rule, QWidget* parent) : QTextEdit(parent), rule_(std::move(rule)) {
    setObjectName("CTvEdit");
    setAcceptRichText(false);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAnywhere);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFont(CellFont(kEditFontHeight));
    connect(this, &QTextEdit::textChanged, this, &CTvEdit::OnTextChanged);
}

std::string CTvEdit::glyphText() const {
    return Utf16ToCp932(toPlainText().toStdU16String(), "");
}

void CTvEdit::setGlyphText(const std::string& cp932) {
    Show(cp932, 0);
}

void CTvEdit::InsertGlyph(GlyphCode code) {
    textCursor().insertText(GlyphString(code));
}

void CTvEdit::OnTextChanged() {
    if (updating_) {
        return;
    }
    const std::string current = glyphText();
    const std::string edited = rule_(shown_, current);
    if (edited == current) {
        shown_ = edited;
        Recolour();
        return;
    }
    // The text changes length by the line breaks removed or the input refused; the caret moves
    // back by as much.
    const int change = QString::fromStdString(Cp932ToUtf8(edited)).size() -
                       QString::fromStdString(Cp932ToUtf8(current)).size();
    Show(edited, textCursor().position() + change);
}

void CTvEdit::Show(const std::string& cp932, int caret) {
    updating_ = true;
    shown_ = cp932;
    setPlainText(QString::fromStdString(Cp932ToUtf8(cp932)));
    QTextCursor cursor = textCursor();
    cursor.setPosition(std::clamp(caret, 0, static_cast<int>(toPlainText().size())));
    setTextCursor(cursor);
    updating_ = false;
    Recolour();
}

void CTvEdit::Recolour() {
    updating_ = true;
    const QString text = toPlainText();
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    for (int i = 0; i < text.size(); ++i) {
        const std::string bytes = Utf16ToCp932(text.mid(i, 1).toStdU16String(), "");
        QTextCharFormat format;
        if (bytes.size() == 2) {
            const auto code = static_cast<GlyphCode>(static_cast<unsigned char>(bytes[0]) << 8U |
                                                     static_cast<unsigned char>(bytes[1]));
            format.setBackground(ToQColor(InputGlyphBackground(code)));
        } else {
            format.setBackground(Qt::white);
        }
        cursor.setPosition(i);
        cursor.setPosition(i + 1, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(format);
    }
    cursor.endEditBlock();
    updating_ = false;
}

} // namespace varnolt::ui
