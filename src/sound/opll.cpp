#include "sound/opll.h"

#include <cmath>

#include "host/midi_output.h"

namespace tavir {

OPLLState opll;
OPLLTranslation opllTranslation;

namespace {

constexpr uint8_t kRhythmRegister = 0x0E;
constexpr uint8_t kRhythmMode = 0x20;
constexpr uint8_t kKeyOn = 0x10;

// Drums in the order of their key bits in register 0x0E, bit 0 first.
enum Drum { kHH, kCYM, kTOM, kSD, kBD };

constexpr uint8_t kDrumChannel = 9;

// Per 4-bit OPLL volume (0 loudest, 15 softest): the drum velocity factor, out of 11, and
// the melodic expression factor, out of 7. The softer half of the melodic range is silent.
constexpr uint8_t kDrumFactor[16] = {11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 0, 0, 0, 0};
constexpr uint8_t kMelodicFactor[16] = {7, 6, 5, 4, 3, 2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};

void send(uint8_t status, uint8_t data1, uint8_t data2 = 0) {
    sendMIDIShort(packMIDI(status, data1, data2));
}

// The pitch the channel's F-number and block play, as a MIDI note with a fraction. The chip
// sounds F x 2^block x (3579545 / 72) / 2^19 Hz: F-number 9 in block 0 is close to MIDI
// note -39 (0.12 semitone below it, so MIDI plays a hair sharp), and each block doubles the
// frequency. The instrument's offset from opll.cfg is added.
float noteFromFrequency(int ch) {
    const uint8_t* r = opll.opllRegisters;
    int f = (r[0x20 + ch] & 1) * 256 + r[0x10 + ch];
    if (f == 0) f = 1;
    const int block = (r[0x20 + ch] >> 1) & 7;
    // The instrument may come from a snapshot: only its four bits index the table.
    const int instrument = opll.channelInstrument[ch] & 0x0F;
    const auto offset = static_cast<int8_t>(opllSettings.NoteOFS[instrument]);
    return static_cast<float>((std::log(static_cast<double>(f)) - 2 * std::log(3.0)) * 12 /
                                  std::log(2.0) +
                              12 * block - 39 + offset);
}

// The fraction (-12 to 12 semitones) as a pitch bend over a range of 12 semitones.
void sendPitchBend(int ch, float fraction) {
    int bend = static_cast<int>(fraction * 8192 / 12) + 8192;
    if (bend > 16383) bend = 16383;
    if (bend < 0) bend = 0;
    send(static_cast<uint8_t>(0xE0 + ch), bend & 0x7F, (bend >> 7) & 0x7F);
}

uint8_t clampNote(int note) {
    return static_cast<uint8_t>(note < 0 ? 0 : note > 127 ? 127 : note);
}

// A new pitch for a sounding channel: within an octave of its note it is only bent; further
// away a new note takes the voice over from the old one through portamento control, so no
// note off is sent.
void followPitch(int ch) {
    OPLLTranslation& t = opllTranslation;
    const float note = noteFromFrequency(ch);
    const float distance = note - t.channelNote[ch];
    if (distance >= -12 && distance < 12) {
        sendPitchBend(ch, distance);
        return;
    }
    const int n = static_cast<int>(note);
    sendPitchBend(ch, note - static_cast<float>(n));
    const uint8_t status = static_cast<uint8_t>(0xB0 + ch);
    send(status, 84, t.channelNote[ch]);
    t.channelNote[ch] = clampNote(n);
    send(static_cast<uint8_t>(0x90 + ch), t.channelNote[ch], 127);
    t.channelKeyOn[ch] = 1;
}

void writeKeyRegister(int ch, uint8_t value, uint8_t previous) {
    OPLLTranslation& t = opllTranslation;
    const bool keyOn = value & kKeyOn;
    if (!t.channelKeyOn[ch] && keyOn) {
        const float note = noteFromFrequency(ch);
        const int n = static_cast<int>(note);
        sendPitchBend(ch, note - static_cast<float>(n));
        t.channelNote[ch] = clampNote(n);
        t.channelKeyOn[ch] = 1;
        send(static_cast<uint8_t>(0x90 + ch), t.channelNote[ch], 127);
    } else if (t.channelKeyOn[ch] && !keyOn) {
        t.channelKeyOn[ch] = 0;
        send(static_cast<uint8_t>(0x80 + ch), t.channelNote[ch], 0);
    } else if (t.channelKeyOn[ch] && ((value ^ previous) & 0x0F)) {
        // The key stays on while the block or F-number bit 8 changes: the chip's pitch
        // moves at once, so ours does as well rather than at the next F-number write.
        followPitch(ch);
    }
}

void writeInstrumentRegister(int ch, uint8_t value) {
    OPLLTranslation& t = opllTranslation;
    const int instrument = value >> 4;
    if (instrument != opll.channelInstrument[ch]) {
        // The sounding note ends: the device could not change its voice under it.
        send(static_cast<uint8_t>(0x80 + ch), t.channelNote[ch], 0);
        if (opllSettings.BankSelect != 0) {
            send(static_cast<uint8_t>(0xB0 + ch), 0, opllSettings.BankMSB[instrument]);
            send(static_cast<uint8_t>(0xB0 + ch), 32, opllSettings.BankLSB[instrument]);
        }
        send(static_cast<uint8_t>(0xC0 + ch), opllSettings.ProgramNumber[instrument]);
        opll.channelInstrument[ch] = static_cast<uint8_t>(instrument);
    }
    send(static_cast<uint8_t>(0xB0 + ch), 11, melodicExpression(instrument, value & 0x0F));
}

// A drum's current volume nibble in the register image.
int drumVolumeRegister(int drum) {
    const uint8_t* r = opll.opllRegisters;
    switch (drum) {
        case kHH: return r[0x37] >> 4;
        case kCYM: return r[0x38] & 0x0F;
        case kTOM: return r[0x38] >> 4;
        case kSD: return r[0x37] & 0x0F;
        default: return r[0x36] & 0x0F;
    }
}

uint8_t drumVelocity(int drum, int volume) {
    return static_cast<uint8_t>(opllSettings.PVolume[drum] * kDrumFactor[volume] / 11);
}

void writeRhythmKeys(uint8_t value) {
    OPLLTranslation& t = opllTranslation;
    const uint8_t changed = (value ^ t.rhythmKeys) & 0x1F;
    if (changed == 0) return;
    for (int drum = kHH; drum <= kBD; ++drum) {
        if (!(changed & (1 << drum))) continue;
        const uint8_t status = (value & (1 << drum)) ? 0x90 + kDrumChannel : 0x80 + kDrumChannel;
        send(status, opllSettings.PNoteNumber[drum], drumVelocity(drum, drumVolumeRegister(drum)));
    }
    t.rhythmKeys = value;
}

// A sounding drum whose volume changes is struck again at the new volume.
void changeDrumVolume(int drum, int volume) {
    OPLLTranslation& t = opllTranslation;
    if ((t.rhythmKeys & (1 << drum)) && volume != t.drumVolume[drum]) {
        send(0x80 + kDrumChannel, opllSettings.PNoteNumber[drum], 0);
        send(0x90 + kDrumChannel, opllSettings.PNoteNumber[drum], drumVelocity(drum, volume));
    }
    t.drumVolume[drum] = static_cast<uint8_t>(volume);
}

void writeDrumVolumeRegister(int r, uint8_t value) {
    switch (r) {
        case 0x36: changeDrumVolume(kBD, value & 0x0F); break;
        case 0x37:
            changeDrumVolume(kSD, value & 0x0F);
            changeDrumVolume(kHH, value >> 4);
            break;
        default:
            changeDrumVolume(kCYM, value & 0x0F);
            changeDrumVolume(kTOM, value >> 4);
            break;
    }
}

}  // namespace

uint8_t melodicExpression(int instrument, int volume) {
    return static_cast<uint8_t>(opllSettings.TVolume[instrument] * kMelodicFactor[volume] / 7);
}

void writeOPLL(uint8_t value) {
    const int r = opll.opllIndex;
    if (r >= kOPLLRegisterCount || !opllTranslation.opllEnabled) return;
    const uint8_t previous = opll.opllRegisters[r];
    if (value == previous) return;
    opll.opllRegisters[r] = value;

    // In rhythm mode channels 6-8 make the drums: their registers are only stored, and
    // 0x36-0x38 carry the drum volumes.
    const bool rhythm = opll.opllRegisters[kRhythmRegister] & kRhythmMode;
    const int ch = r & 0x0F;
    const int channels = rhythm ? 6 : kOPLLChannels;
    if (r == kRhythmRegister) {
        if (rhythm) writeRhythmKeys(value);
    } else if (rhythm && r >= 0x36) {
        writeDrumVolumeRegister(r, value);
    } else if (ch < channels) {
        switch (r & 0xF0) {
            case 0x10:
                if (opllTranslation.channelKeyOn[ch]) followPitch(ch);
                break;
            case 0x20: writeKeyRegister(ch, value, previous); break;
            case 0x30: writeInstrumentRegister(ch, value); break;
            default: break;
        }
    }
}

}  // namespace tavir
