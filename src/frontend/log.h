// The machine's text log, "TAVIRlog.txt": plain lines, no time stamps, no levels.
#pragma once

#include <cstdio>

namespace tavir {

constexpr const char* kLogFileName = "TAVIRlog.txt";

extern std::FILE* logFile;

// Creates (truncates) the log in the working directory. False if it can't be created.
bool openLog(const char* path = kLogFileName);
void closeLog();

// A formatted line into the log; nothing happens while the log is closed.
void logPrint(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace tavir
