#include "frontend/log.h"

#include <cstdarg>

namespace tavir {

std::FILE* logFile = nullptr;

bool openLog(const char* path) {
    closeLog();
    logFile = std::fopen(path, "w");
    return logFile != nullptr;
}

void closeLog() {
    if (logFile == nullptr) return;
    std::fclose(logFile);
    logFile = nullptr;
}

void logPrint(const char* format, ...) {
    if (logFile == nullptr) return;
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(logFile, format, arguments);
    va_end(arguments);
}

}  // namespace tavir
