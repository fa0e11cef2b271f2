// The machine's text log, "TAVIRlog.txt": plain lines, no time stamps, no levels.
#pragma once

#include <cstdio>
#include <string>

namespace tavir {

constexpr const char* kLogFileName = "TAVIRlog.txt";

extern std::FILE* logFile;

// Creates (truncates) the log in the working directory. False if it can't be created.
bool openLog(const char* path = kLogFileName);
void closeLog();

// The failure lines a failed start-up left in the log at `path`, joined by "; ", for the
// terminal: they name the file or device at fault. "see TAVIRlog.txt" when there are none.
std::string logFailureLines(const char* path = kLogFileName);

// A formatted line into the log; nothing happens while the log is closed.
void logPrint(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace tavir
