// Little-endian numbers in a snapshot image, whatever the host's byte order.
#pragma once

#include <bit>
#include <cstdint>

namespace tavir::snapshot {

inline void put16(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

inline void put32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

inline void putFloat(uint8_t* at, float value) {
    put32(at, std::bit_cast<uint32_t>(value));
}

inline uint16_t get16(const uint8_t* at) {
    return static_cast<uint16_t>(at[0] | at[1] << 8);
}

inline uint32_t get32(const uint8_t* at) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(at[i]) << (8 * i);
    return value;
}

inline float getFloat(const uint8_t* at) {
    return std::bit_cast<float>(get32(at));
}

}  // namespace tavir::snapshot
