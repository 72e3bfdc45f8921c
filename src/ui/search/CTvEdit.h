#pragma once

#include "core/view/GlyphCodes.h"

#include <QTextEdit>

#include <functional>
#include <string>

namespace varnolt::ui {

// The character input dialog's edit: a pattern as glyphs of the cell font "SFgg1", each on the
// background of its kind. Its text is held as code page 932 bytes (two per glyph); after every
// change the dialog's model decides what the text becomes (typed characters turned into glyphs,
// the text limit kept), and the edit shows that.
class CTvEdit final : public QTextEdit {
    Q_OBJECT

public:
    // EDITED(previous, current) gives the text to show after a change.
    using EditRule = std::function<std::string(const std::string&, const std::string&)>;

    CTvEdit(EditRule rule, QWidget* parent = nullptr);

    // The text as code page 932 bytes.
    [[nodiscard]] std::string glyphText() const;
    // Replaces the text, puts the caret at the start and colours the glyphs.
    void setGlyphText(const std::string& cp932);
    // Puts glyph CODE in place of the selection at the caret.
    void InsertGlyph(GlyphCode code);

private:
    void OnTextChanged();
    void Recolour();
    void Show(const std::string& cp932, int caret);

    EditRule rule_;
    std::string shown_;
    bool updating_ = false;
};

} // namespace varnolt::ui
