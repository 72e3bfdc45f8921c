#include "core/settings/dialog/TransmitPageModel.h"

#include <algorithm>

namespace varnolt {

void TransmitPageModel::load(const CSaParameter& model) {
    entries_ = model.transmitEntries;
}

void TransmitPageModel::save(CSaParameter& model) const {
    model.transmitEntries = entries_;
}

void TransmitPageModel::setCharacters(size_t row, std::span<const PatternElement> elements) {
    SaTxEntry& entry = entries_.at(row);
    const size_t count = std::min(elements.size(), entry.elements.size());
    entry = SaTxEntry{};
    std::copy_n(elements.begin(), count, entry.elements.begin());
    entry.elementCount = static_cast<int32_t>(count);
}

} // namespace varnolt
