#include "core/log.h"

#include <cstdarg>
#include <fstream>

namespace tavir {

std::FILE* logFile = nullptr;

bool openLog(const char* path) {
    closeLog();
    logFile = std::fopen(path, "w");
    if (logFile == nullptr) return false;
    // Each line reaches the file as it is written: after a crash or a kill the log must
    // still say what happened.
    std::setvbuf(logFile, nullptr, _IOLBF, BUFSIZ);
    return true;
}

void closeLog() {
    if (logFile == nullptr) return;
    std::fclose(logFile);
    logFile = nullptr;
}

std::string logFailureLines(const char* path) {
    std::ifstream log(path);
    std::string line, failures;
    while (std::getline(log, line)) {
        if (line.find("Failed") == std::string::npos || line == "initMSX Failed.") continue;
        if (!failures.empty()) failures += "; ";
        failures += line;
    }
    return failures.empty() ? "see " + std::string(path) : failures;
}

void logPrint(const char* format, ...) {
    if (logFile == nullptr) return;
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(logFile, format, arguments);
    va_end(arguments);
}

}  // namespace tavir
