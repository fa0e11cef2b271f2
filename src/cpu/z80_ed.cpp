// ED: 16-bit arithmetic, I/O through (C), interrupt control, RRD/RLD, the block
// instructions and the emulator trap ED FE. Every value not implemented does nothing.
#include "cpu/z80.h"
#include "cpu/z80_main_group.h"

namespace tavir {

namespace {

using z80::Index;

constexpr uint8_t kBlockKeptLD = kFlagS | kFlagZ | kFlag5 | kFlag3 | kFlagC;
constexpr uint8_t kBlockKeptIO = kFlagS | kFlagH | kFlagPV | kFlagC;

uint16_t& pairByCode(CPUState& cpu, int code) {
    switch (code) {
        case 0: return cpu.bc.word;
        case 1: return cpu.de.word;
        case 2: return cpu.hl.word;
        default: return cpu.sp;
    }
}

uint8_t& registerByCode(CPUState& cpu, int code) {
    switch (code) {
        case 0: return cpu.bc.high;
        case 1: return cpu.bc.low;
        case 2: return cpu.de.high;
        case 3: return cpu.de.low;
        case 4: return cpu.hl.high;
        case 5: return cpu.hl.low;
        default: return cpu.af.high;
    }
}

void subtractWithCarry16(CPUState& cpu, uint16_t value) {
    const uint16_t hl = cpu.hl.word;
    const unsigned difference = hl - value - (cpu.af.low & kFlagC);
    const auto result = static_cast<uint16_t>(difference);
    cpu.af.low = static_cast<uint8_t>(((result >> 8) & kFlagS) | (result == 0 ? kFlagZ : 0) |
                                      (((hl ^ value ^ result) >> 8) & kFlagH) |
                                      (((hl ^ value) & (hl ^ result) & 0x8000) ? kFlagPV : 0) |
                                      kFlagN | (difference > 0xFFFF ? kFlagC : 0));
    cpu.hl.word = result;
}

void addWithCarry16(CPUState& cpu, uint16_t value) {
    const uint16_t hl = cpu.hl.word;
    const unsigned sum = hl + value + (cpu.af.low & kFlagC);
    const auto result = static_cast<uint16_t>(sum);
    cpu.af.low = static_cast<uint8_t>(((result >> 8) & kFlagS) | (result == 0 ? kFlagZ : 0) |
                                      (((hl ^ value ^ result) >> 8) & kFlagH) |
                                      ((~(hl ^ value) & (hl ^ result) & 0x8000) ? kFlagPV : 0) |
                                      (sum > 0xFFFF ? kFlagC : 0));
    cpu.hl.word = result;
}

// Single steps of the block group; Step is +1 (LDI, CPI, INI, OUTI) or -1.
template <int Step>
void loadStep(CPUState& cpu) {
    writeMemory(cpu.de.word, readMemory(cpu.hl.word));
    cpu.hl.word = static_cast<uint16_t>(cpu.hl.word + Step);
    cpu.de.word = static_cast<uint16_t>(cpu.de.word + Step);
    cpu.bc.word--;
    cpu.af.low = static_cast<uint8_t>((cpu.af.low & kBlockKeptLD) | (cpu.bc.word ? kFlagPV : 0));
}

// Returns A - (HL) for the repeat test.
template <int Step>
uint8_t compareStep(CPUState& cpu) {
    const uint8_t a = cpu.af.high;
    const uint8_t value = readMemory(cpu.hl.word);
    const auto result = static_cast<uint8_t>(a - value);
    cpu.hl.word = static_cast<uint16_t>(cpu.hl.word + Step);
    cpu.bc.word--;
    cpu.af.low = static_cast<uint8_t>((cpu.af.low & kFlagC) | kFlagN | flagsSZ[result] |
                                      ((a ^ value ^ result) & kFlagH) | (cpu.bc.word ? kFlagPV : 0));
    return result;
}

void ioStepFlags(CPUState& cpu) {
    cpu.af.low = static_cast<uint8_t>((cpu.af.low & kBlockKeptIO) | kFlagN |
                                      (cpu.bc.high == 0 ? kFlagZ : 0));
}

template <int Step>
void inputStep(CPUState& cpu) {
    writeMemory(cpu.hl.word, inPort(cpu.bc.low));
    cpu.hl.word = static_cast<uint16_t>(cpu.hl.word + Step);
    cpu.bc.high--;
    ioStepFlags(cpu);
}

template <int Step>
void outputStep(CPUState& cpu) {
    const uint8_t value = readMemory(cpu.hl.word);
    cpu.hl.word = static_cast<uint16_t>(cpu.hl.word + Step);
    outPort(cpu.bc.low, value);
    cpu.bc.high--;
    ioStepFlags(cpu);
}

// A repeating block instruction loops inside itself for as long as the scan line's
// budget lasts: 21 T-states per step. When its work is done it gets 5 back (16 for the
// last step); when the budget runs out first, PC goes back to the ED so that the rest
// continues after the line end. The last step's flags are the instruction's flags.
template <typename StepThenContinue>
void repeatBlock(CPUState& cpu, bool testBudget, StepThenContinue stepThenContinue) {
    bool again;
    do {
        again = stepThenContinue();
        cpu.cycleCount -= 21;
    } while (again && (!testBudget || cpu.cycleCount > 0));
    if (again) cpu.pc = static_cast<uint16_t>(cpu.pc - 2);
    else cpu.cycleCount += 5;
}

void blockInstruction(CPUState& cpu, uint8_t op) {
    switch (op) {
        case 0xA0: loadStep<1>(cpu); return;
        case 0xA8: loadStep<-1>(cpu); return;
        case 0xA1: compareStep<1>(cpu); return;
        case 0xA9: compareStep<-1>(cpu); return;
        case 0xA2: inputStep<1>(cpu); return;
        case 0xAA: inputStep<-1>(cpu); return;
        case 0xA3: outputStep<1>(cpu); return;
        case 0xAB: outputStep<-1>(cpu); return;
        case 0xB0:
            repeatBlock(cpu, true, [&cpu] { return loadStep<1>(cpu), cpu.bc.word != 0; });
            return;
        case 0xB8:
            repeatBlock(cpu, true, [&cpu] { return loadStep<-1>(cpu), cpu.bc.word != 0; });
            return;
        case 0xB1:
            repeatBlock(cpu, true, [&cpu] { return compareStep<1>(cpu) != 0 && cpu.bc.word != 0; });
            return;
        case 0xB9:
            // CPDR alone ignores the line budget and runs to its end.
            repeatBlock(cpu, false, [&cpu] { return compareStep<-1>(cpu) != 0 && cpu.bc.word != 0; });
            return;
        case 0xB2:
            repeatBlock(cpu, true, [&cpu] { return inputStep<1>(cpu), cpu.bc.high != 0; });
            return;
        case 0xBA:
            repeatBlock(cpu, true, [&cpu] { return inputStep<-1>(cpu), cpu.bc.high != 0; });
            return;
        case 0xB3:
            repeatBlock(cpu, true, [&cpu] { return outputStep<1>(cpu), cpu.bc.high != 0; });
            return;
        case 0xBB:
            repeatBlock(cpu, true, [&cpu] { return outputStep<-1>(cpu), cpu.bc.high != 0; });
            return;
        default: return;
    }
}

// ED 0x40-0x7F, decoded by the low three bits.
void executeED4x(CPUState& cpu, uint8_t op) {
    const int y = (op >> 3) & 7, p = y >> 1;
    const bool q = y & 1;
    uint8_t& f = cpu.af.low;
    switch (op & 7) {
        case 0: {  // IN r,(C); IN (C) with y = 6 only sets flags
            const uint8_t value = inPort(cpu.bc.low);
            if (y != 6) registerByCode(cpu, y) = value;
            f = static_cast<uint8_t>((f & kFlagC) | flagsSZP[value]);
            return;
        }
        case 1:  // OUT (C),r; ED 71 does nothing
            if (y != 6) outPort(cpu.bc.low, registerByCode(cpu, y));
            return;
        case 2:
            if (q) addWithCarry16(cpu, pairByCode(cpu, p));
            else subtractWithCarry16(cpu, pairByCode(cpu, p));
            return;
        case 3: {
            const uint16_t address = z80::fetchWord(cpu);
            if (q) pairByCode(cpu, p) = z80::readWord(address);
            else z80::writeWord(address, pairByCode(cpu, p));
            return;
        }
        case 4:
            if (op == 0x44) {  // NEG: 0 - A with the flags of SUB
                const uint8_t value = cpu.af.high;
                cpu.af.high = 0;
                cpu.af.high = z80::subtract8(cpu, value, 0);
            }
            return;
        case 5:
            if (op == 0x45) {  // RETN
                cpu.stateFlags = static_cast<uint8_t>((cpu.stateFlags & ~kIFF1) |
                                                      ((cpu.stateFlags & kSavedIFF) ? kIFF1 : 0));
                cpu.pc = z80::pop(cpu);
            } else if (op == 0x4D) {  // RETI
                cpu.pc = z80::pop(cpu);
            }
            return;
        case 6: {
            const uint8_t modeBits = op == 0x56 ? kInterruptMode1 : op == 0x5E ? kInterruptMode2 : 0;
            if (op == 0x46 || op == 0x56 || op == 0x5E)
                cpu.stateFlags = static_cast<uint8_t>(
                    (cpu.stateFlags & ~(kInterruptMode1 | kInterruptMode2)) | modeBits);
            return;
        }
        default:
            switch (op) {
                case 0x47: cpu.i = cpu.af.high; return;
                case 0x57:
                case 0x5F: {
                    if (op == 0x57) {
                        cpu.af.high = cpu.i;
                    } else {
                        // A value that moves with every read and with time, which is
                        // all that software asks of R.
                        cpu.rCounter++;
                        cpu.af.high = static_cast<uint8_t>(cpu.rCounter - cpu.cycleCount);
                    }
                    f = static_cast<uint8_t>((f & kFlagC) | ((cpu.stateFlags & kIFF1) ? kFlagPV : 0) |
                                             flagsSZ[cpu.af.high]);
                    return;
                }
                case 0x67: {  // RRD
                    const uint8_t m = readMemory(cpu.hl.word);
                    writeMemory(cpu.hl.word, static_cast<uint8_t>(m >> 4 | cpu.af.high << 4));
                    cpu.af.high = static_cast<uint8_t>((cpu.af.high & 0xF0) | (m & 0x0F));
                    f = static_cast<uint8_t>((f & kFlagC) | flagsSZP[cpu.af.high]);
                    return;
                }
                case 0x6F: {  // RLD
                    const uint8_t m = readMemory(cpu.hl.word);
                    writeMemory(cpu.hl.word, static_cast<uint8_t>(m << 4 | (cpu.af.high & 0x0F)));
                    cpu.af.high = static_cast<uint8_t>((cpu.af.high & 0xF0) | (m >> 4));
                    f = static_cast<uint8_t>((f & kFlagC) | flagsSZP[cpu.af.high]);
                    return;
                }
                default: return;  // LD R,A and the unused values
            }
    }
}

}  // namespace

void executeED(CPUState& cpu) {
    const uint8_t op = z80::fetchByte(cpu);
    cpu.cycleCount -= cyclesED[op];
    if (op >= 0x40 && op < 0x80) {
        executeED4x(cpu, op);
    } else if (op >= 0xA0 && op < 0xC0) {
        blockInstruction(cpu, op);
    } else if (op == 0xED) {
        cpu.pc--;  // the second ED is fetched again as a prefix
    } else if (op == 0xFE) {
        diskService(cpu);
    }
}

}  // namespace tavir
