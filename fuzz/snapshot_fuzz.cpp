// Snapshot and input-recording files as a user may hand them over: any bytes loaded into
// the started machine, which then runs a few frames on whatever was accepted (with the
// recording's input played back when the first byte is odd).
#include <cstdint>

#include "core/machine.h"
#include "core/run_loop.h"
#include "frontend/snapshot.h"
#include "fuzz_machine.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    tavir::fuzz::startFuzzMachine();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const bool playback = data[0] & 1;
    tavir::fuzz::writeBytes(playback ? "fuzz.smv" : "fuzz.sav", data + 1, size - 1);
    tavir::resetMachine(tavir::cpu);
    if (tavir::loadSnapshotFile(playback ? "fuzz.smv" : "fuzz.sav", playback)) {
        tavir::enterRunLoop();
        tavir::runScanLines(tavir::cpu, 800);
    }
    return 0;
}
