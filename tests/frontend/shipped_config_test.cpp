// The msx.cfg shipped as every new user's default: a full keyboard matrix whose every key
// can actually be pressed on a PC keyboard, and nothing mapped twice.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "core/settings.h"
#include "host/desktop/sdl_key_table.h"

namespace tavir {
namespace {

const char* const kShippedConfig = TAVIR_CONFIG_DIR "/msx.cfg";

TEST(ShippedConfig, EveryMatrixKeyIsOnItsOwnPCKeyAndNoneIsACommand) {
    Settings loaded;
    ASSERT_TRUE(readMachineSettings(loaded, kShippedConfig)) << kShippedConfig;
    std::set<uint8_t> pcKeys;
    for (int scancode = 0; scancode < SDL_NUM_SCANCODES; ++scancode)
        pcKeys.insert(directInputCode(static_cast<SDL_Scancode>(scancode)));
    pcKeys.erase(0);
    std::map<uint8_t, std::pair<int, int>> owner;
    for (int row = 0; row < 9; ++row) {
        for (int bit = 0; bit < 8; ++bit) {
            const uint8_t code = loaded.KeyMap[row][bit];
            EXPECT_TRUE(pcKeys.count(code)) << "row " << row << " bit " << bit << ": code "
                                            << std::hex << int(code) << " is on no key";
            const auto [it, fresh] = owner.emplace(code, std::make_pair(row, bit));
            EXPECT_TRUE(fresh) << std::hex << int(code) << " drives row " << row << " bit " << bit
                               << " and row " << it->second.first << " bit " << it->second.second;
        }
    }
    for (const uint8_t command : loaded.CommandKey)
        EXPECT_EQ(owner.count(command), 0u)
            << "command key " << std::hex << int(command) << " also types on the MSX";
}

}  // namespace
}  // namespace tavir
