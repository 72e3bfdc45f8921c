#include "core/link/port/ThreadPriority.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace varnolt {

void RaiseCurrentThreadPriority() {
#ifdef _WIN32
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
#elif defined(__linux__)
    // On Linux the nice value belongs to the thread; lowering it needs CAP_SYS_NICE or an
    // RLIMIT_NICE allowance, and is simply refused otherwise.
    (void)setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), -10);
#endif
}

} // namespace varnolt
