#pragma once

namespace varnolt {

// Raises the calling thread to the highest priority the system grants this process without
// special rights. A refusal is not an error: the thread runs at its normal priority.
void RaiseCurrentThreadPriority();

} // namespace varnolt
