#include <gtest/gtest.h>

#include <vector>

#include "app/CommandLine.h"

namespace {

CommandLine parse(std::vector<const char*> words) {
    words.insert(words.begin(), "quadrill");
    return parseCommandLine(static_cast<int>(words.size()), words.data());
}

TEST(CommandLineTest, NothingPlaysHelpAndVersionWinWherePlaced) {
    EXPECT_EQ(CommandLine::Action::Play, parse({}).action);
    EXPECT_EQ(CommandLine::Action::Help, parse({"--host", "--help"}).action);
    EXPECT_EQ(CommandLine::Action::Help, parse({"-h"}).action);
    EXPECT_EQ(CommandLine::Action::Version, parse({"--version"}).action);
    EXPECT_EQ(CommandLine::Action::Version, parse({"-V"}).action);
}

TEST(CommandLineTest, NetworkRolesTakeOptionalPortsAndAddresses) {
    CommandLine host = parse({"--host"});
    EXPECT_EQ(CommandLine::NetRole::Host, host.netRole);
    EXPECT_EQ(28250, host.netPort);
    EXPECT_EQ(40000, parse({"--host", "40000", "--input-delay", "2"}).netPort);
    EXPECT_TRUE(host.portMapping);
    EXPECT_FALSE(parse({"--host", "--no-port-mapping"}).portMapping);

    CommandLine join = parse({"--join", "192.0.2.5:3000"});
    EXPECT_EQ(CommandLine::NetRole::Join, join.netRole);
    EXPECT_EQ("192.0.2.5", join.netHost);
    EXPECT_EQ(3000, join.netPort);
    CommandLine v6 = parse({"--watch", "[::1]:4000"});
    EXPECT_EQ(CommandLine::NetRole::Watch, v6.netRole);
    EXPECT_EQ("::1", v6.netHost);
    EXPECT_EQ(4000, v6.netPort);
    EXPECT_EQ("::1", parse({"--join", "::1"}).netHost);
    EXPECT_EQ(28250, parse({"--join", "example.org"}).netPort);

    CommandLine scripted = parse({"--join", "h", "--script", "keys.txt", "--frames", "600"});
    EXPECT_EQ("keys.txt", scripted.scriptPath);
    EXPECT_EQ(600u, scripted.frameLimit);
}

TEST(CommandLineTest, RoomsOnARelayGoByCodeAndTheRelaysPort) {
    CommandLine host = parse({"--host", "--relay", "relay.example.org"});
    EXPECT_EQ(CommandLine::NetRole::Host, host.netRole);
    EXPECT_TRUE(host.viaRelay);
    EXPECT_EQ("relay.example.org", host.netHost);
    EXPECT_EQ(28251, host.netPort);
    EXPECT_EQ(4000, parse({"--relay", "192.0.2.9:4000", "--host"}).netPort);

    CommandLine join = parse({"--join", "kqzmtb@192.0.2.9"});
    EXPECT_EQ(CommandLine::NetRole::Join, join.netRole);
    EXPECT_TRUE(join.viaRelay);
    EXPECT_EQ("KQZMTB", join.roomCode);
    EXPECT_EQ("192.0.2.9", join.netHost);
    EXPECT_EQ(28251, join.netPort);
    CommandLine watch = parse({"--watch", "KQZMTB@[2001:db8::1]:5000"});
    EXPECT_EQ(CommandLine::NetRole::Watch, watch.netRole);
    EXPECT_EQ("2001:db8::1", watch.netHost);
    EXPECT_EQ(5000, watch.netPort);
    EXPECT_FALSE(parse({"--join", "192.0.2.9"}).viaRelay);

    // Codes with look-alikes, or of another length; a relay without hosting.
    for (const char* bad : {"KQZMT0@host", "KQZMTO@host", "KQZMT@host", "@host", "KQZMTB@"}) {
        EXPECT_EQ(CommandLine::Action::Usage, parse({"--join", bad}).action) << bad;
    }
    EXPECT_EQ(CommandLine::Action::Usage, parse({"--relay", "host"}).action);
    EXPECT_EQ(CommandLine::Action::Usage, parse({"--join", "KQZMTB@host", "--relay", "host"}).action);
    EXPECT_EQ(CommandLine::Action::Usage, parse({"--host", "--relay"}).action);
}

TEST(CommandLineTest, EveryBadWordIsAUsageErrorNeverAQuietDefault) {
    const std::vector<std::vector<const char*>> bad = {
        {"--nonsense"},       {"extra"},
        {"--replay"},         {"--join"},
        {"--join", ""},       {"--join", "h:"},
        {"--join", "h:0"},    {"--join", "h:65536"},
        {"--join", "h:80x"},  {"--join", "[::1"},
        {"--host", "0"},      {"--host", "99999"},
        {"--input-delay", "3"}, {"--input-delay", "-1"},
        {"--input-delay"},    {"--frames", "0"},
        {"--frames", "18446744073709551617"},
        {"--host", "--join", "h"},
        {"--replay", "r.qrp", "--host"},
    };
    for (const auto& words : bad) {
        const CommandLine line = parse(words);
        EXPECT_EQ(CommandLine::Action::Usage, line.action) << words[0];
        EXPECT_FALSE(line.error.empty()) << words[0];
    }
}

}  // namespace
