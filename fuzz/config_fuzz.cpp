// msx.cfg and opll.cfg as a user may write them: any bytes, any line length.
#include <unistd.h>

#include <cstdint>
#include <string>

#include "core/opll_settings.h"
#include "core/settings.h"
#include "fuzz_machine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/tavir-fuzz-" + std::to_string(getpid()) + ".cfg";
    tavir::fuzz::writeBytes(path.c_str(), data, size);
    tavir::Settings settings;
    tavir::readMachineSettings(settings, path.c_str());
    tavir::readSoundSettings(settings, path.c_str());
    tavir::OPLLSettings opll;
    tavir::readOPLLSettings(opll, path.c_str());
    // A message holds at most the 255 bytes its count can name.
    for (const auto& message : tavir::readOPLLInitData(path.c_str()))
        if (message.size() > 255) __builtin_trap();
    return 0;
}
