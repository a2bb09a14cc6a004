// The computer's strengths in an online room are the host's, on every machine.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "net/MessageCodec.h"
#include "net/Session.h"

namespace {

net::Versions versions() { return net::Versions{"1.0", "test", 1}; }

std::uint32_t nowMs() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

TEST(NetStrengths, TheHostsStrengthsReachPlayersAndSpectatorsAndNothingElseIsRead) {
    net::Session host(true, net::Role::Player, versions());
    std::string error;
    ASSERT_TRUE(host.open("", 0, error)) << error;
    net::Session guest(false, net::Role::Player, versions());
    net::Session watcher(false, net::Role::Spectator, versions());
    ASSERT_TRUE(guest.open("127.0.0.1", host.port(), error)) << error;
    ASSERT_TRUE(watcher.open("127.0.0.1", host.port(), error)) << error;
    const auto runUntil = [&](const auto& done) {
        const std::uint32_t start = nowMs();
        while (nowMs() - start < 2000) {
            host.service(nowMs());
            guest.service(nowMs());
            watcher.service(nowMs());
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    };
    ASSERT_TRUE(runUntil([&] { return guest.machine() == 1 && watcher.machine() >= 4; }));
    host.claim(1, true);
    guest.claim(3, true);
    ASSERT_TRUE(runUntil([&] { return host.lobby().owners[3] == 1; }));

    const std::int32_t table[31] = {};
    const std::uint8_t levels[4] = {2, 1, 0, 1};  // green hard, red easy
    ASSERT_TRUE(host.startMatch(table, 3, 0, &levels));
    ASSERT_TRUE(runUntil([&] { return guest.match().levels[0] == 2 && watcher.match().levels[0] == 2; }));
    for (const net::Session* machine : {&host, &guest, &watcher}) {
        EXPECT_EQ(0, machine->match().levels[2]);
        EXPECT_EQ(1, machine->match().levels[3]);
    }

    // A strength past Hard is no Start at all.
    net::Start start = host.match();
    net::WireWriter out;
    ASSERT_TRUE(encodeMessage(start, out));
    std::vector<std::uint8_t> bytes(out.data(), out.data() + out.size());
    net::Message read;
    ASSERT_EQ(net::DecodeResult::Ok, net::decodeMessage(bytes.data(), bytes.size(), read));
    bytes[bytes.size() - 2] = 3;
    EXPECT_EQ(net::DecodeResult::Malformed, net::decodeMessage(bytes.data(), bytes.size(), read));
}

}  // namespace
