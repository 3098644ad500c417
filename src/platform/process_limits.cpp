// The open-file limit, through getrlimit and setrlimit.
#include "platform/process_limits.h"

#include <sys/resource.h>

#include <algorithm>
#include <climits>

namespace platform {

void RaiseOpenFileLimit() {
    rlimit files{};
    if (getrlimit(RLIMIT_NOFILE, &files) != 0 || files.rlim_cur >= files.rlim_max) return;
    files.rlim_cur = files.rlim_max;
    setrlimit(RLIMIT_NOFILE, &files);
}

int OpenFileLimit() {
    rlimit files{};
    if (getrlimit(RLIMIT_NOFILE, &files) != 0) return 1024;
    if (files.rlim_cur == RLIM_INFINITY) return INT_MAX;
    return static_cast<int>(std::min<rlim_t>(files.rlim_cur, INT_MAX));
}

}  // namespace platform
