// The PSG (AY-3-8910): its register file behind ports 0xA0-0xA2 and the software
// synthesis that makes it heard. Register 14 is the chip's I/O port A, where the two
// joystick ports are wired; register 15 bit 6 selects which one.
//
// Sound is made once per frame, not per register write: each of the three tone channels
// and the noise writes square waves into a looping host sound buffer of its own, a fixed
// distance ahead of that buffer's play cursor. A register write only updates the derived
// periods; the waveforms pick them up at the next frame end.
#pragma once

#include <cstdint>

namespace tavir {

constexpr int kPSGRegisterCount = 16;
constexpr int kPSGJoystickRegister = 14;
constexpr int kPSGJoystickSelectRegister = 15;
constexpr int kPSGToneChannels = 3;
constexpr int kPSGNoiseBuffer = 3;  // buffers 0-2 are the tone channels A-C
constexpr int kPSGBufferCount = 4;
constexpr uint32_t kPSGNoiseTableSize = 65536;

// Everything the PSG keeps. A snapshot stores all of it except the write cursors, the
// noise table and its index, which start-up and resyncPSG set afresh.
struct PSGState {
    uint8_t psgIndex;                         // register selected through port 0xA0, 0-15
    uint8_t psgRegisters[kPSGRegisterCount];  // R0-R15 as last written
    float tonePeriod[kPSGToneChannels];       // tone period in 44.1 kHz samples
    float tonePhase[kPSGToneChannels];        // position in the current period, in samples
    uint32_t writeCursor[kPSGBufferCount];    // offset up to which each buffer is written
    uint32_t envelopeLength;                  // ticks of one envelope ramp, at least 1
    uint32_t envelopeStep;                    // envelope ticks since R13 was written
    uint8_t reserved[kPSGToneChannels];       // cleared by volume writes, otherwise unused
    uint16_t noiseIndex;                      // next entry of noiseTable
    int32_t noiseRun;                         // samples left in the current noise half-wave
    uint8_t noisePolarity;                    // 1 = the current half-wave is above 0x80
    uint8_t randomA;                          // noise table generator: counter 0-6,
    uint8_t randomB;                          // counter 0-3,
    uint32_t randomAccumulator;               // and its sum of clock readings
    uint8_t noiseTable[kPSGNoiseTableSize];   // random half-wave lengths, filled by initPSG
};

extern PSGState psg;

// Part of every machine reset: every register 0xFF. The index is not touched.
void resetPSG();

// Port 0xA0: only the low four bits select a register.
inline void selectPSGRegister(uint8_t value) {
    psg.psgIndex = value & 0x0F;
}

// Port 0xA1: the value goes into the selected register, and the tone and envelope
// periods derived from it follow.
void writePSG(uint8_t value);

// Port 0xA2: the selected register; register 14 shows the selected joystick port.
uint8_t readPSG();

// Start-up: reads the sound keys of msx.cfg, opens the audio output and starts the four
// buffers playing silence. False (after logging which step failed) when the output can't
// be had; settings.UsePSG is then 0 and the machine runs silently. UsePSG 0 in msx.cfg
// creates nothing and reports success.
bool initPSG();
// Shutdown: releases the buffers and the audio output.
void releasePSG();

// Frame end, channels 0, 1, 2 and then the noise: the stretch ahead of each play cursor.
void updateTone(int channel);
void updateNoise();

// Around every emulator command: the buffers stop, then restart filled with silence.
void stopPSG();
void restartPSG();
// On entering the run loop: the write cursors jump ahead of the play cursors again.
void resyncPSG();

}  // namespace tavir
