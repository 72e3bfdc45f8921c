#include "core/link/panes/TransmitRows.h"

#include "core/settings/CSaParameter.h"
#include "core/view/PatternText.h"

namespace varnolt {

namespace {

constexpr GlyphCode kFirstNumberGlyph = 0x8F81;

} // namespace

TransmitRow TransmitRowOf(const CSaParameter& settings, size_t row) {
    TransmitRow shown;
    if (row >= kTxEntryCount) {
        return shown;
    }
    shown.number = static_cast<GlyphCode>(kFirstNumberGlyph + row);
    shown.text = PatternGlyphCodes(settings.transmitEntries[row].usedElements());
    return shown;
}

} // namespace varnolt
