#include "video/pattern_colours.h"

namespace tavir {

namespace {

// Zero-initialised: all-black rows for an all-black palette, which is what they show.
PatternColours<uint16_t> small;
PatternColours<uint32_t> large;

template <typename Pixel>
void refresh(PatternColours<Pixel>& table, const Pixel (&palette)[16]) {
    uint32_t changed = 0;
    for (int i = 0; i < 16; ++i)
        if (table.palette[i] != palette[i]) changed |= 1u << i;
    for (int colours = 0; colours < 256; ++colours) {
        const int set = colours >> 4, clear = colours & 15;
        if (!((changed >> set | changed >> clear) & 1)) continue;
        for (int dot = 0; dot < 8; ++dot) {
            table.background[colours][dot] = palette[clear];
            table.difference[colours][dot] = static_cast<Pixel>(palette[clear] ^ palette[set]);
        }
    }
    std::memcpy(table.palette, palette, sizeof table.palette);
}

template <typename Pixel>
PatternColours<Pixel>& tableFor();
template <>
PatternColours<uint16_t>& tableFor<uint16_t>() {
    return small;
}
template <>
PatternColours<uint32_t>& tableFor<uint32_t>() {
    return large;
}

}  // namespace

template <typename Pixel>
const PatternColours<Pixel>& patternColours(const Pixel (&palette)[16]) {
    PatternColours<Pixel>& table = tableFor<Pixel>();
    if (std::memcmp(table.palette, palette, sizeof table.palette) != 0) refresh(table, palette);
    return table;
}

template const PatternColours<uint16_t>& patternColours(const uint16_t (&)[16]);
template const PatternColours<uint32_t>& patternColours(const uint32_t (&)[16]);

}  // namespace tavir
