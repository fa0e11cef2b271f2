#include "frontend/host_entry.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/machine.h"
#include "frontend/log.h"

namespace tavir {

int hostEntry() {
    if (!openLog()) {
        std::fprintf(stderr, "tavir: cannot create %s in the working directory: %s\n", kLogFileName,
                     std::strerror(errno));
        return 1;
    }
    if (!initMSX()) {
        logPrint("initMSX Failed.\n");
        shutdownMSX();
        std::fprintf(stderr, "tavir: start-up failed; %s says why\n", kLogFileName);
        return 1;
    }
    logPrint("initMSX Succeed.\n");
    // The window and its message loop come here; until then start-up is all there is.
    shutdownMSX();
    return 0;
}

}  // namespace tavir
