#include "frontend/midi_file.h"

#include <cstdio>

#include "host/midi_output.h"

namespace tavir {

namespace {

void putBigEndian(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

// A variable-length quantity: seven bits a byte, most significant first, bit 7 set on
// every byte but the last.
void putVariable(std::vector<uint8_t>& out, uint64_t value) {
    uint8_t groups[10];
    int count = 0;
    do {
        groups[count++] = static_cast<uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value != 0 && count < 10);
    while (count > 1) out.push_back(groups[--count] | 0x80);
    out.push_back(groups[0]);
}

// True when the bytes are one or more complete channel messages.
bool wholeChannelMessages(const uint8_t* bytes, int length) {
    for (int i = 0; i < length;) {
        if (bytes[i] < 0x80 || bytes[i] >= 0xF0) return false;
        const int size = midiShortLength(bytes[i]);
        if (i + size > length) return false;
        for (int d = 1; d < size; ++d)
            if (bytes[i + d] >= 0x80) return false;
        i += size;
    }
    return true;
}

void putMessage(std::vector<uint8_t>& track, uint64_t delta, const uint8_t* bytes, int length) {
    putVariable(track, delta);
    if (wholeChannelMessages(bytes, length)) {
        for (int i = 0; i < length;) {
            const int size = midiShortLength(bytes[i]);
            if (i > 0) track.push_back(0);  // the next message at the same time
            track.insert(track.end(), bytes + i, bytes + i + size);
            i += size;
        }
    } else {
        const bool sysEx = bytes[0] == 0xF0;
        const int skip = sysEx ? 1 : 0;  // a SysEx event carries its F0 as the event type
        track.push_back(sysEx ? 0xF0 : 0xF7);
        putVariable(track, static_cast<uint64_t>(length - skip));
        track.insert(track.end(), bytes + skip, bytes + length);
    }
}

}  // namespace

std::vector<uint8_t> buildMIDIFile(const RecordedMIDI& recording) {
    std::vector<uint8_t> track = {0x00, 0xFF, 0x51, 0x03};  // tempo
    putBigEndian(track, kMIDIFileMicrosecondsPerQuarter, 3);
    uint64_t previous = 0;
    for (const RecordedMIDIMessage& m : recording.messages) {
        putMessage(track, m.line - previous, recording.bytes.data() + m.offset, m.length);
        previous = m.line;
    }
    track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});  // end of track

    std::vector<uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1};
    putBigEndian(file, kMIDIFileTicksPerQuarter, 2);
    file.insert(file.end(), {'M', 'T', 'r', 'k'});
    putBigEndian(file, static_cast<uint32_t>(track.size()), 4);
    file.insert(file.end(), track.begin(), track.end());
    return file;
}

bool writeMIDIFile(const char* path, const RecordedMIDI& recording) {
    const std::vector<uint8_t> bytes = buildMIDIFile(recording);
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace tavir
