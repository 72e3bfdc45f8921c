#include "core/capture/AutomaticSave.h"

namespace varnolt {

bool SaveBankIfFull(CCaptureData& store, RingIndex appended) {
    const std::optional<CaptureBank> full = store.SwitchBankIfFull(appended);
    return full && store.StartSave(SaveRequestOf(*full), 0, store.capacity() - 1);
}

bool SaveFinalBank(CCaptureData& store) {
    const RingIndex last = store.lastIndex();
    if (last < 0 || last == store.capacity() - 1) {
        return false;
    }
    return store.StartSave(SaveRequest::ActiveBank, 0, last);
}

} // namespace varnolt
