#include "core/config_parser.h"

#include <cctype>
#include <string>

#include "host/regular_file.h"

namespace tavir {

namespace {

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads the rest of the line after a full stop, at most the entry limit. The part of an
// overlong line past the limit is left in the stream, where it is skipped up to the
// next full stop like any comment.
std::string readEntry(std::FILE* file) {
    std::string entry;
    int c;
    while (entry.size() < static_cast<size_t>(kConfigEntryLimit) && (c = std::fgetc(file)) != EOF) {
        entry.push_back(static_cast<char>(c));
        if (c == '\n') break;
    }
    return entry;
}

}  // namespace

bool parseHexByte(std::string_view entry, size_t& position, uint8_t& value) {
    while (position < entry.size() && hexDigitValue(entry[position]) < 0) ++position;
    if (position >= entry.size()) return false;
    int result = hexDigitValue(entry[position]) << 4;
    ++position;
    if (position < entry.size()) {
        const int low = hexDigitValue(entry[position]);
        if (low >= 0) result += low;
        ++position;  // the second character is consumed whatever it is
    }
    value = static_cast<uint8_t>(result);
    return true;
}

bool ConfigValues::next16(uint16_t& value) {
    uint8_t high, low;
    if (!next(high) || !next(low)) return false;
    value = static_cast<uint16_t>(high << 8 | low);
    return true;
}

bool ConfigValues::nextSigned(int32_t& value) {
    uint8_t sign, magnitude;
    if (!next(sign) || !next(magnitude)) return false;
    value = sign == 0 ? magnitude : -static_cast<int32_t>(magnitude);
    return true;
}

void readConfigStream(std::FILE* file, const ConfigKey* keys, size_t keyCount) {
    int c;
    while ((c = std::fgetc(file)) != EOF) {
        if (c != '.') continue;
        const std::string entry = readEntry(file);
        const std::string_view view(entry);
        for (size_t k = 0; k < keyCount; ++k) {
            const std::string_view name = keys[k].name;
            if (view.substr(0, name.size()) != name) continue;
            ConfigValues values(view, name.size());
            keys[k].apply(values);
        }
    }
}

bool readConfigFile(const char* path, const ConfigKey* keys, size_t keyCount) {
    std::FILE* file = openRegularFile(path, "r");
    if (file == nullptr) return false;
    readConfigStream(file, keys, keyCount);
    std::fclose(file);
    return true;
}

}  // namespace tavir
