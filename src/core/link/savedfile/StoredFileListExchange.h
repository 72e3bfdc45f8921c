#pragma once

#include "core/link/savedfile/StoredFileEntry.h"

#include <vector>

namespace varnolt {

class CMoniterComm;

// The list request, driven one look at the link at a time: "DR", then each entry ("DD") and
// the end ("DE") acknowledged with "ACK". An error or a time-out asks again with "DR", at
// most three times in a row; a refusal ("ACK" in place of the list) ends it at once.
class StoredFileListExchange {
public:
    enum class Step {
        Running,  // waiting for the next entry
        Complete, // the end of the list arrived and was acknowledged
        TimedOut, // no list: the caller sends "ESC" and reports the time-out
    };

    explicit StoredFileListExchange(CMoniterComm& link) : link_(link) {}

    // Flushes what waits on the link and sends "DR".
    void Begin();
    // Takes what arrived; listed entries go into ROWS.
    [[nodiscard]] Step Poll(std::vector<StoredFileRow>& rows);

private:
    void request();
    void acknowledge();

    CMoniterComm& link_;
    int attempts_ = 0;
};

} // namespace varnolt
