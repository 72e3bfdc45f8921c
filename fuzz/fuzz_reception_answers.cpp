// Feeds arbitrary answers to the parsers of online reception: data blocks of both record
// widths, the status answer, trigger and run-state reports. Each sees a buffer of exactly the
// answer's size, so a read past it is caught; a data block must append exactly the records it
// claims or none.

#include "core/capture/CCaptureData.h"
#include "core/link/reception/DataBlockParser.h"
#include "core/link/reception/LiveReports.h"
#include "core/link/reception/ReceivedRecords.h"
#include "core/link/reception/StatusAnswer.h"
#include "core/settings/CSaParameter.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace varnolt;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> answer(data, data + size);
    for (const uint16_t width : {uint16_t{0}, uint16_t{1}}) {
        const auto block = ParseDataBlock(answer, width);
        if (!block) {
            continue;
        }
        // The items lie inside the answer, and every device index stays in the memory's range.
        const DeviceIndex wrap = DeviceIndexWrap(width);
        if (block->items.data() < answer.data() ||
            block->items.data() + block->items.size() > answer.data() + answer.size() ||
            block->firstDevice < 0 || block->firstDevice >= wrap) {
            std::abort();
        }
        static CCaptureData store(1000);
        store.PrepareForLoad();
        store.header().recordWidth = width;
        const RecordCount appended = AppendDataBlock(store, *block, false);
        if (store.Count() != std::min(appended, RecordCount{1000})) {
            std::abort();
        }
    }
    LineStates lines{};
    CSaParameter settings;
    StatusBlock status;
    uint32_t idle = 0;
    (void)ParseStatus(answer, {lines, settings, status}, idle);
    (void)ParseTrigger(answer);
    (void)ParseRunState(answer);
    return 0;
}
