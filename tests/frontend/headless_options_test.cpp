// The command line of tavir-headless: what it accepts and what it refuses, with a reason.
#include "frontend/headless_options.h"

#include <gtest/gtest.h>

#include <vector>

namespace tavir {
namespace {

struct Parsed {
    bool ok;
    HeadlessOptions options;
    std::string error;
};

Parsed parse(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "tavir-headless");
    Parsed result;
    result.ok = parseHeadlessOptions(static_cast<int>(arguments.size()), arguments.data(),
                                     result.options, result.error);
    return result;
}

TEST(HeadlessOptionsTest, RefusesMalformedValuesNamingThem) {
    const struct {
        std::vector<const char*> arguments;
        const char* inError;
    } cases[] = {
        {{"--frames"}, "--frames needs a value"},
        {{"--screenshot"}, "--screenshot needs a value"},
        {{"--frames", "0"}, "'0'"},
        {{"--frames", "12x"}, "'12x'"},
        {{"--frames", "4294967296"}, "'4294967296'"},
        {{"--dir", ""}, "--dir"},
        {{"--key", "10"}, "FRAME:CODE"},
        {{"--key", "10:1c:2:3"}, "FRAME:CODE"},
        {{"--key", "0:1c"}, "FRAME"},
        {{"--key", "1:0"}, "CODE"},
        {{"--key", "1:100"}, "CODE"},
        {{"--key", "1:"}, "CODE"},
        {{"--key", "1:1c:0"}, "FRAMES"},
        {{"--key", "4294967295:1c:2"}, "past the last frame"},
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"--screenshot", ""}, "--screenshot"},
        {{"--save-state", "0"}, "slot from 1 to 40"},
        {{"--load-state", "41"}, "'41'"},
        {{"--replay"}, "--replay needs --load-state"},
        {{"--load-state", "1", "--replay", "--record", "2"}, "together"},
    };
    for (const auto& c : cases) {
        const Parsed p = parse(c.arguments);
        EXPECT_FALSE(p.ok) << c.arguments[0];
        EXPECT_NE(p.error.find(c.inError), std::string::npos) << p.error;
    }
}

}  // namespace
}  // namespace tavir
