// A loop that polls a byte until the interrupt handler sets it (LD A,(nn) / OR A or AND A
// / JR Z or JR NZ back), as compiled C waits for the next frame: the run loop works out the
// rest of the line at once, and must leave registers, PC, the countdown and the countdown
// before the last instruction exactly where single steps leave them, whatever the
// countdown and whether the loop goes round or ends.
#include <string>

#include "cpu/z80_fixture.h"

namespace tavir::testing {
namespace {

using PollingLoop = Z80Test;

struct Outcome {
    uint16_t pc;
    uint16_t af;
    int32_t countdown;
    int32_t beforeLast;
};

TEST_F(PollingLoop, TakesPassesTogetherExactlyAsSingleSteps) {
    for (const uint8_t test : {0xB7, 0xA7}) {          // OR A, AND A
        for (const uint8_t jump : {0x28, 0x20}) {      // JR Z, JR NZ
            for (const uint8_t polled : {0x00, 0x80}) {
                for (int32_t budget = 1; budget <= 160; ++budget) {
                    Outcome outcomes[2];
                    for (const bool runLoop : {false, true}) {
                        SetUp();
                        // 7FFEh: the way in, a jump of the loop's own kind (taken, with
                        // flags of its own); 8006h: after the loop, INC A, JR $.
                        load(0x7FFE, {jump, 0x00, 0x3A, 0x00, 0xC0, test, jump, 0xFA, 0x3C,
                                      0x18, 0xFE});
                        ram_[0xC000] = polled;
                        a() = 0x55;
                        f() = jump == 0x28 ? 0xFF : 0xBF;
                        cpu.cycleCount = budget;
                        int32_t beforeLast = 0;
                        if (runLoop) {
                            beforeLast = executeUntilLineEnd(cpu);
                        } else {
                            do {
                                beforeLast = cpu.cycleCount;
                                executeInstruction(cpu);
                            } while (cpu.cycleCount > 0);
                        }
                        outcomes[runLoop] = {cpu.pc, cpu.af.word, cpu.cycleCount, beforeLast};
                    }
                    SCOPED_TRACE("test " + std::to_string(test) + " jump " +
                                 std::to_string(jump) + " byte " + std::to_string(polled) +
                                 " countdown " + std::to_string(budget));
                    EXPECT_EQ(outcomes[1].pc, outcomes[0].pc);
                    EXPECT_EQ(outcomes[1].af, outcomes[0].af);
                    EXPECT_EQ(outcomes[1].countdown, outcomes[0].countdown);
                    EXPECT_EQ(outcomes[1].beforeLast, outcomes[0].beforeLast);
                }
            }
        }
    }
}

}  // namespace
}  // namespace tavir::testing
