// The line syntax shared by msx.cfg and opll.cfg. An entry starts after a full stop and
// runs to the end of that line; anything before a full stop is a comment. Each entry is
// matched against a reader's keys by the key's own length (a prefix match), and its
// values are hex bytes read by `parseHexByte`.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string_view>

namespace tavir {

// Longest entry read after a full stop, newline included.
constexpr int kConfigEntryLimit = 254;

// Reads one value from `entry` starting at `position` and leaves `position` after the
// two characters it consumed. Returns false, with `value` untouched, when the entry ends
// before a hex digit is found: the caller then keeps its default.
bool parseHexByte(std::string_view entry, size_t& position, uint8_t& value);

// A cursor over the values that follow a key in one entry.
class ConfigValues {
public:
    ConfigValues(std::string_view entry, size_t start) : entry_(entry), position_(start) {}

    // Stores the next byte in `value` if the entry still has one; otherwise leaves it.
    bool next(uint8_t& value) { return parseHexByte(entry_, position_, value); }

    // Two bytes, high first. Keeps `value` unless both are present.
    bool next16(uint16_t& value);

    // A sign byte (0 positive, anything else negative) and a magnitude byte.
    bool nextSigned(int32_t& value);

private:
    std::string_view entry_;
    size_t position_;
};

struct ConfigKey {
    std::string_view name;
    std::function<void(ConfigValues&)> apply;
};

// Runs one pass over the file: every entry that starts with a key's name is applied with
// the values after the name; unmatched entries are ignored. Returns false if the file
// can't be opened, in which case nothing is applied.
bool readConfigFile(const char* path, const ConfigKey* keys, size_t keyCount);

// The same pass over an already open stream, read to its end.
void readConfigStream(std::FILE* file, const ConfigKey* keys, size_t keyCount);

}  // namespace tavir
