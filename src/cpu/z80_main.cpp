#include "cpu/z80.h"
#include "cpu/z80_main_group.h"

namespace tavir {

namespace {

template <int Op>
TAVIR_Z80_INLINE void executeUnprefixed(auto& cpu) {
    if constexpr (Op == 0xCB)
        executeCB(cpu);
    else if constexpr (Op == 0xDD)
        executeIndexedIX(cpu);
    else if constexpr (Op == 0xED)
        executeED(cpu);
    else if constexpr (Op == 0xFD)
        executeIndexedIY(cpu);
    else
        z80::executeMain<Op, z80::Index::HL>(cpu);
}

}  // namespace

void resetCPU(CPUState& cpu) {
    const uint8_t rCounter = cpu.rCounter;
    const int32_t savedCycleCount = cpu.savedCycleCount;
    const int32_t speed = cpu.MSXSpeed;
    cpu = CPUState{};
    cpu.sp = 0xF000;
    cpu.MSXSpeed = speed;
    cpu.cycleCount = speed;
    cpu.pendingVector = kNoInterrupt;
    cpu.rCounter = rCounter;
    cpu.savedCycleCount = savedCycleCount;
}

namespace {

// One instruction: the opcode's own case of the switch, straight-line code.
[[gnu::always_inline]] inline void dispatch(CPUState& cpu) {
    const uint8_t op = z80::fetchByte(cpu);
    cpu.cycleCount -= cyclesMain[op];
    switch (op) {
#define TAVIR_UNPREFIXED_CASE(n) \
    case n: executeUnprefixed<n>(cpu); return;
        TAVIR_Z80_ALL_OPCODES(TAVIR_UNPREFIXED_CASE)
#undef TAVIR_UNPREFIXED_CASE
    }
}

}  // namespace

void executeInstruction(CPUState& cpu) {
    dispatch(cpu);
}

// Expands BODY(h, l) for the opcode 0xhl, for every pair of hex digits h and l: label
// names need the opcode as one token.
#define TAVIR_Z80_DIGIT_ROW(BODY, h)                                                          \
    BODY(h, 0) BODY(h, 1) BODY(h, 2) BODY(h, 3) BODY(h, 4) BODY(h, 5) BODY(h, 6) BODY(h, 7)  \
    BODY(h, 8) BODY(h, 9) BODY(h, A) BODY(h, B) BODY(h, C) BODY(h, D) BODY(h, E) BODY(h, F)
#define TAVIR_Z80_ALL_OPCODE_DIGITS(BODY)                                                     \
    TAVIR_Z80_DIGIT_ROW(BODY, 0) TAVIR_Z80_DIGIT_ROW(BODY, 1) TAVIR_Z80_DIGIT_ROW(BODY, 2)   \
    TAVIR_Z80_DIGIT_ROW(BODY, 3) TAVIR_Z80_DIGIT_ROW(BODY, 4) TAVIR_Z80_DIGIT_ROW(BODY, 5)   \
    TAVIR_Z80_DIGIT_ROW(BODY, 6) TAVIR_Z80_DIGIT_ROW(BODY, 7) TAVIR_Z80_DIGIT_ROW(BODY, 8)   \
    TAVIR_Z80_DIGIT_ROW(BODY, 9) TAVIR_Z80_DIGIT_ROW(BODY, A) TAVIR_Z80_DIGIT_ROW(BODY, B)   \
    TAVIR_Z80_DIGIT_ROW(BODY, C) TAVIR_Z80_DIGIT_ROW(BODY, D) TAVIR_Z80_DIGIT_ROW(BODY, E)   \
    TAVIR_Z80_DIGIT_ROW(BODY, F)

namespace {

// The run loop's view of the registers: PC, SP and the T-state countdown in variables of
// its own, which the compiler keeps in machine registers, the others by reference into the
// record. Memory writes go through byte pointers that, as far as the compiler knows, may
// point into any object whose address is known outside the loop, the record included, so
// values read from the record are read again after every write; the loop's own variables
// are not.
struct LoopRegisters {
    RegisterPair& af;
    RegisterPair& bc;
    RegisterPair& de;
    RegisterPair& hl;
    RegisterPair& ix;
    RegisterPair& iy;
    uint16_t pc;
    uint16_t sp;
    RegisterPair& af2;
    RegisterPair& bc2;
    RegisterPair& de2;
    RegisterPair& hl2;
    uint8_t& stateFlags;
    int32_t cycleCount;
    int32_t& savedCycleCount;
    uint16_t& pendingVector;

    explicit LoopRegisters(CPUState& cpu)
        : af(cpu.af), bc(cpu.bc), de(cpu.de), hl(cpu.hl), ix(cpu.ix), iy(cpu.iy), pc(cpu.pc), sp(cpu.sp), af2(cpu.af2),
          bc2(cpu.bc2), de2(cpu.de2), hl2(cpu.hl2), stateFlags(cpu.stateFlags),
          cycleCount(cpu.cycleCount), savedCycleCount(cpu.savedCycleCount),
          pendingVector(cpu.pendingVector) {}

    void storeTo(CPUState& cpu) const {
        cpu.pc = pc;
        cpu.sp = sp;
        cpu.cycleCount = cycleCount;
    }
    void loadFrom(const CPUState& cpu) {
        pc = cpu.pc;
        sp = cpu.sp;
        cycleCount = cpu.cycleCount;
    }
};

// The opcodes that run code outside this file, which sees only the record: the CB and ED
// groups, and IN and OUT (the VDP's status reads the countdown, and acknowledging its
// interrupt changes the request that EI looks at). DD and FD run here.
constexpr bool runsOutsideCode(int op) {
    return op == 0xCB || op == 0xED || op == 0xD3 || op == 0xDB;
}

// The opcode after DD or FD, with IX or IY standing in for HL. Only DDCB/FDCB and IN/OUT
// run outside; a run of prefixes counts the last one, so the prefix is read again as an
// instruction of its own; DD ED spends both bytes and the next byte runs unprefixed.
template <z80::Index X, int Op>
TAVIR_Z80_INLINE void executeIndexedOpcode(LoopRegisters& cpu, CPUState& record) {
    if constexpr (Op == 0xCB) {
        cpu.storeTo(record);
        if constexpr (X == z80::Index::IX)
            executeIndexedCBIX(record);
        else
            executeIndexedCBIY(record);
        cpu.loadFrom(record);
    } else if constexpr (Op == 0xDD || Op == 0xFD) {
        cpu.pc--;
    } else if constexpr (Op == 0xED) {
    } else if constexpr (Op == 0xD3 || Op == 0xDB) {
        cpu.storeTo(record);
        z80::executeMain<Op, X>(record);
        cpu.loadFrom(record);
    } else {
        z80::executeMain<Op, X>(cpu);
    }
}

// A program that waits for its interrupt handler to set a byte, as compiled C does it:
//     loop: LD A,(nn) / OR A (or AND A) / JR Z,loop (or JR NZ)
// Nothing but the interrupt, which comes only at a line end, can change the byte, so every
// pass of the loop until then is the same. Called with PC on a JR's target: when the loop
// stands there and its next pass goes round again, the passes that end before the line's
// countdown runs out are taken at once. A, F, PC and the countdown come out as the passes
// one by one leave them; the rest of the line runs as usual.
template <int JumpOp>
TAVIR_Z80_INLINE void skipPollingPasses(LoopRegisters& cpu) {
    const uint16_t loop = cpu.pc;
    if (readMemory(loop) != 0x3A) [[likely]]
        return;
    const uint8_t test = readMemory(static_cast<uint16_t>(loop + 3));
    if ((test != 0xB7 && test != 0xA7) || readMemory(static_cast<uint16_t>(loop + 4)) != JumpOp ||
        readMemory(static_cast<uint16_t>(loop + 5)) != 0xFA)
        return;
    const uint8_t value = readMemory(readMemoryWord(static_cast<uint16_t>(loop + 1)));
    if ((value == 0) != (JumpOp == 0x28)) return;  // the next pass leaves the loop
    // JR cc takes 5 T-states more when it jumps.
    const int32_t pass = cyclesMain[0x3A] + cyclesMain[test] + cyclesMain[JumpOp] + 5;
    // Whole passes that leave the countdown above 0 run back to back.
    const int32_t passes = (cpu.cycleCount - 1) / pass;
    if (passes <= 0) return;
    cpu.cycleCount -= passes * pass;
    cpu.af.high = value;
    if (test == 0xB7)
        z80::alu<6>(cpu, value);
    else
        z80::alu<4>(cpu, value);
}

}  // namespace

int32_t executeUntilLineEnd(CPUState& record) {
    // Threaded dispatch (GCC's and clang's labels as values): every opcode's code ends
    // with its own fetch and indirect jump to the next opcode's code. One shared jump for
    // all 256 opcodes is mispredicted far more often, because the branch predictor then
    // sees a single jump whose target changes with every instruction; a jump per opcode
    // learns the program's common pairs (CP then JR Z, LD then INC). Each opcode's code
    // charges its own T-states as a constant.
    // DD and FD jump on through tables of their own, so the opcodes after them are
    // threaded alike.
    static const void* const handlers[256] = {
#define TAVIR_HANDLER_ADDRESS(h, l) &&opcode##h##l,
        TAVIR_Z80_ALL_OPCODE_DIGITS(TAVIR_HANDLER_ADDRESS)
#undef TAVIR_HANDLER_ADDRESS
    };
    static const void* const handlersIX[256] = {
#define TAVIR_HANDLER_ADDRESS(h, l) &&opcodeIX##h##l,
        TAVIR_Z80_ALL_OPCODE_DIGITS(TAVIR_HANDLER_ADDRESS)
#undef TAVIR_HANDLER_ADDRESS
    };
    static const void* const handlersIY[256] = {
#define TAVIR_HANDLER_ADDRESS(h, l) &&opcodeIY##h##l,
        TAVIR_Z80_ALL_OPCODE_DIGITS(TAVIR_HANDLER_ADDRESS)
#undef TAVIR_HANDLER_ADDRESS
    };
    LoopRegisters cpu(record);
    int32_t beforeLast;

    // At least one instruction, whatever the countdown.
    goto* handlers[z80::fetchByte(cpu)];

#define TAVIR_HANDLER(h, l)                                   \
    opcode##h##l : {                                          \
        constexpr int op = 0x##h##l;                          \
        beforeLast = cpu.cycleCount;                          \
        cpu.cycleCount -= cyclesMain[op];                     \
        if constexpr (op == 0xDD) {                           \
            goto* handlersIX[z80::fetchByte(cpu)];            \
        } else if constexpr (op == 0xFD) {                    \
            goto* handlersIY[z80::fetchByte(cpu)];            \
        } else if constexpr (runsOutsideCode(op)) {           \
            cpu.storeTo(record);                              \
            executeUnprefixed<op>(record);                    \
            cpu.loadFrom(record);                             \
        } else {                                              \
            executeUnprefixed<op>(cpu);                       \
            if constexpr (op == 0x20 || op == 0x28)           \
                skipPollingPasses<op>(cpu);                   \
        }                                                     \
        if (cpu.cycleCount <= 0) [[unlikely]]                 \
            goto end;                                         \
        goto* handlers[z80::fetchByte(cpu)];                  \
    }
    TAVIR_Z80_ALL_OPCODE_DIGITS(TAVIR_HANDLER)
#undef TAVIR_HANDLER

#define TAVIR_INDEXED_HANDLER(h, l, X, label)                 \
    label##h##l : {                                           \
        constexpr int op = 0x##h##l;                          \
        cpu.cycleCount -= cyclesXY[op];                       \
        executeIndexedOpcode<z80::Index::X, op>(cpu, record); \
        if (cpu.cycleCount <= 0) [[unlikely]]                 \
            goto end;                                         \
        goto* handlers[z80::fetchByte(cpu)];                  \
    }
#define TAVIR_IX_HANDLER(h, l) TAVIR_INDEXED_HANDLER(h, l, IX, opcodeIX)
#define TAVIR_IY_HANDLER(h, l) TAVIR_INDEXED_HANDLER(h, l, IY, opcodeIY)
    TAVIR_Z80_ALL_OPCODE_DIGITS(TAVIR_IX_HANDLER)
    TAVIR_Z80_ALL_OPCODE_DIGITS(TAVIR_IY_HANDLER)
#undef TAVIR_IX_HANDLER
#undef TAVIR_IY_HANDLER
#undef TAVIR_INDEXED_HANDLER

end:
    cpu.storeTo(record);
    return beforeLast;
}

void interruptCPU(CPUState& cpu, uint16_t /*vector*/) {
    if (!(cpu.stateFlags & kIFF1)) return;
    cpu.stateFlags = static_cast<uint8_t>((cpu.stateFlags & ~(kIFF1 | kEIDelay)) | kSavedIFF);
    if (cpu.stateFlags & kHalted) {
        cpu.pc++;
        cpu.stateFlags &= static_cast<uint8_t>(~kHalted);
    }
    z80::push(cpu, cpu.pc);
    if (cpu.stateFlags & kInterruptMode2) {
        // Nothing drives the MSX data bus during the acknowledge, so the device's vector
        // byte reads 0xFF and the handler is the word at I x 256 + 0xFF.
        cpu.pc = z80::readWord(static_cast<uint16_t>(cpu.i << 8 | 0xFF));
        cpu.cycleCount -= kInterruptMode2Cycles;
        return;
    }
    // Mode 1 calls 0x0038; so does mode 0, whose instruction from the bus is the 0xFF of
    // RST 38h.
    cpu.pc = kInterruptVector;
}

}  // namespace tavir
