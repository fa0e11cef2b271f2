#include "core/screen_message.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace tavir {

namespace {

// A few posts a minute and one read per window frame: a lock costs nothing here.
std::mutex messageLock;
char message[kScreenMessageLength];
uint32_t messageNumber = 0;

}  // namespace

void showScreenMessage(const char* format, ...) {
    char text[kScreenMessageLength];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    std::lock_guard<std::mutex> guard(messageLock);
    std::memcpy(message, text, sizeof message);
    ++messageNumber;
}

uint32_t latestScreenMessage(char (&text)[kScreenMessageLength]) {
    std::lock_guard<std::mutex> guard(messageLock);
    std::memcpy(text, message, sizeof message);
    return messageNumber;
}

}  // namespace tavir
