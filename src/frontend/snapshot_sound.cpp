// The PSG and the OPLL in a snapshot image. The PSG's write cursors, noise table and
// its index are not stored: start-up and the run loop's entry set them afresh.
#include <cmath>
#include <cstring>

#include "frontend/snapshot_blocks.h"
#include "frontend/snapshot_bytes.h"
#include "frontend/snapshot_layout.h"
#include "sound/opll.h"
#include "sound/psg.h"

namespace tavir::snapshot {

namespace {

// The longest tone period in samples, for R1/R3/R5 = 15 and R0/R2/R4 = 255, with the
// 44.1 kHz sample rate. A period change scales the phase with it, which may leave the
// phase somewhat past the new period until the next sample; twice the longest period
// keeps every such value and refuses the absurd.
constexpr float kLongestTonePeriod = 4095 * 0.39424f;
constexpr float kLongestTonePhase = 2 * kLongestTonePeriod;
// Envelope ramp length in ticks for R11/R12 = 0xFFFF. A PSG never set up holds 0, which
// the envelope reads as 1.
constexpr uint32_t kLongestEnvelope = 156;
// A noise half-wave lasts 1 to (R6 AND 0x1F) + 2 samples.
constexpr int32_t kLongestNoiseRun = 33;

// Version 3 holds floats; earlier versions held whole numbers of samples.
float sampleCount(const uint8_t* at, uint8_t version) {
    if (version >= 3) return getFloat(at);
    return static_cast<float>(get32(at));
}

bool inRange(float value, float high) {
    return std::isfinite(value) && value >= 0 && value <= high;
}

}  // namespace

void storePSGBlock(uint8_t* image) {
    const PSGState& p = psg;
    image[kPSGIndex] = p.psgIndex;
    std::memcpy(image + kPSGRegisters, p.psgRegisters, kPSGRegisterCount);
    put32(image + kEnvelopeLength, p.envelopeLength);
    put32(image + kEnvelopeStep, p.envelopeStep);
    std::memcpy(image + kPSGReserved, p.reserved, 3);
    for (int ch = 0; ch < 3; ++ch) {
        putFloat(image + kTonePeriod + 4 * ch, p.tonePeriod[ch]);
        putFloat(image + kTonePhase + 4 * ch, p.tonePhase[ch]);
    }
    put32(image + kNoiseRun, static_cast<uint32_t>(p.noiseRun));
    image[kNoisePolarity] = p.noisePolarity;
    image[kRandomCounterA] = p.randomA;
    image[kRandomCounterB] = p.randomB;
    put32(image + kRandomAccumulator, p.randomAccumulator);
}

const char* checkPSGBlock(const uint8_t* image, uint8_t version) {
    if (image[kPSGIndex] >= kPSGRegisterCount) return "psgIndex";
    if (get32(image + kEnvelopeLength) > kLongestEnvelope) return "envelopeLength";
    for (int ch = 0; ch < 3; ++ch) {
        if (!inRange(sampleCount(image + kTonePeriod + 4 * ch, version), kLongestTonePeriod))
            return "tonePeriod";
        if (!inRange(sampleCount(image + kTonePhase + 4 * ch, version), kLongestTonePhase))
            return "tonePhase";
    }
    const auto noiseRun = static_cast<int32_t>(get32(image + kNoiseRun));
    if (noiseRun < 0 || noiseRun > kLongestNoiseRun) return "noiseRun";
    if (image[kNoisePolarity] > 1) return "noisePolarity";
    if (image[kRandomCounterA] > 6) return "random counter a";
    if (image[kRandomCounterB] > 3) return "random counter b";
    return nullptr;
}

void loadPSGBlock(const uint8_t* image, uint8_t version) {
    PSGState& p = psg;
    p.psgIndex = image[kPSGIndex];
    std::memcpy(p.psgRegisters, image + kPSGRegisters, kPSGRegisterCount);
    p.envelopeLength = get32(image + kEnvelopeLength);
    p.envelopeStep = get32(image + kEnvelopeStep);
    std::memcpy(p.reserved, image + kPSGReserved, 3);
    for (int ch = 0; ch < 3; ++ch) {
        p.tonePeriod[ch] = sampleCount(image + kTonePeriod + 4 * ch, version);
        p.tonePhase[ch] = sampleCount(image + kTonePhase + 4 * ch, version);
    }
    p.noiseRun = static_cast<int32_t>(get32(image + kNoiseRun));
    p.noisePolarity = image[kNoisePolarity];
    p.randomA = image[kRandomCounterA];
    p.randomB = image[kRandomCounterB];
    p.randomAccumulator = get32(image + kRandomAccumulator);
}

void storeOPLLBlock(uint8_t* image) {
    image[kOPLLIndex] = opll.opllIndex;
    std::memcpy(image + kOPLLRegisters, opll.opllRegisters, kOPLLRegisterCount);
}

// The index keeps all eight bits written to port 0x7C, and a data write at an index past
// the last register is ignored, so every index byte is one the machine can hold.
const char* checkOPLLBlock(const uint8_t* /*image*/) {
    return nullptr;
}

void loadOPLLBlock(const uint8_t* image) {
    opll.opllIndex = image[kOPLLIndex];
    std::memcpy(opll.opllRegisters, image + kOPLLRegisters, kOPLLRegisterCount);
}

}  // namespace tavir::snapshot
