// The headless host: its key script in frames and the keys a command's wait lets go.
#include "host/headless_host.h"

#include <gtest/gtest.h>

#include "host/host_layer.h"

namespace tavir {
namespace {

class HeadlessHostTest : public ::testing::Test {
protected:
    void SetUp() override { installHeadlessHost(HeadlessClock::kManual); }
    void TearDown() override { installHeadlessHost(HeadlessClock::kReal); }

    static bool downNow(uint8_t code) {
        uint8_t state[256];
        host.readKeyboard(state);
        return state[code] & 0x80;
    }
};

TEST_F(HeadlessHostTest, CommandWaitLetsGoOfHeldKeys) {
    ASSERT_TRUE(addScriptedKey(1, 0xDB, 100));
    ASSERT_TRUE(addScriptedKey(50, 0x1C, 2));
    setHeadlessKey(0x36, true);
    EXPECT_TRUE(downNow(0xDB));
    host.commandWaitPass();
    EXPECT_FALSE(downNow(0xDB));
    EXPECT_FALSE(downNow(0x36));
    host.frameEnded(1);
    EXPECT_FALSE(downNow(0xDB));  // released for good
    host.frameEnded(49);
    EXPECT_TRUE(downNow(0x1C));  // a hold still to come is kept
}

}  // namespace
}  // namespace tavir
