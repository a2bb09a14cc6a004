// The online room over the loopback: who is let in, what the lobby shows,
// and what a machine may not say.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "net/MessageCodec.h"
#include "net/Session.h"

namespace {

using net::Role;
using net::Session;
using net::SessionEvent;

net::Versions versions(const char* fingerprint = "test") { return net::Versions{"1.0", fingerprint, 1}; }

std::uint32_t nowMs() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

class Room {
public:
    Room() : host(std::make_unique<Session>(true, Role::Player, versions())) {
        std::string error;
        EXPECT_TRUE(host->open("", 0, error)) << error;
    }

    Session& join(Role role, const net::Versions& theirs = versions()) {
        guests.push_back(std::make_unique<Session>(false, role, theirs));
        std::string error;
        EXPECT_TRUE(guests.back()->open("127.0.0.1", host->port(), error)) << error;
        return *guests.back();
    }

    // Turns of every machine until `done`, or two seconds.
    bool runUntil(const std::function<bool()>& done) {
        const std::uint32_t start = nowMs();
        while (nowMs() - start < 2000) {
            turn();
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }
    void turn() {
        host->service(nowMs());
        for (auto& guest : guests) guest->service(nowMs());
    }

    std::unique_ptr<Session> host;
    std::vector<std::unique_ptr<Session>> guests;
};

bool hasEvent(std::vector<SessionEvent>& seen, Session& session, SessionEvent::Kind kind) {
    for (const SessionEvent& e : session.takeEvents()) seen.push_back(e);
    for (const SessionEvent& e : seen) {
        if (e.kind == kind) return true;
    }
    return false;
}

TEST(NetRoom, AGameThatPlaysMatchesDifferentlyIsRefusedWithWordsOnBothSides) {
    Room room;
    Session& stranger = room.join(Role::Player, versions("other"));
    std::vector<SessionEvent> hostSaw;
    ASSERT_TRUE(room.runUntil([&] { return !stranger.problem().empty(); }));
    EXPECT_NE(stranger.problem().find("plays matches differently"), std::string::npos) << stranger.problem();
    EXPECT_NE(stranger.problem().find("version 1.0 (fingerprint test)"), std::string::npos) << stranger.problem();
    EXPECT_NE(stranger.problem().find("version 1.0 (fingerprint other)"), std::string::npos) << stranger.problem();
    ASSERT_TRUE(room.runUntil([&] { return hasEvent(hostSaw, *room.host, SessionEvent::Kind::TurnedAway); }));
    bool told = false;
    for (const SessionEvent& e : hostSaw) {
        told = told || (e.note.find("plays matches differently") != std::string::npos &&
                        e.note.find("fingerprint other") != std::string::npos);
    }
    EXPECT_TRUE(told);
    EXPECT_EQ(room.host->lobby().present, 1);
}

TEST(NetRoom, FourPlayingMachinesAndEightSpectatorsAtMost) {
    Room room;
    for (int i = 0; i < 3; ++i) room.join(Role::Player);
    ASSERT_TRUE(room.runUntil([&] { return room.host->lobby().present == 0x0F; }));
    Session& fifth = room.join(Role::Player);
    ASSERT_TRUE(room.runUntil([&] { return !fifth.problem().empty(); }));
    EXPECT_NE(fifth.problem().find("Four machines play"), std::string::npos) << fifth.problem();

    for (int i = 0; i < 8; ++i) room.join(Role::Spectator);
    ASSERT_TRUE(room.runUntil([&] { return room.host->lobby().spectators == 8; }));
    Session& ninth = room.join(Role::Spectator);
    ASSERT_TRUE(room.runUntil([&] { return !ninth.problem().empty(); }));
    EXPECT_NE(ninth.problem().find("Eight machines watch"), std::string::npos) << ninth.problem();
    EXPECT_EQ(room.host->lobby().present, 0x0F);
}

TEST(NetRoom, AColourClaimedElsewhereIsTakenEverywhere) {
    Room room;
    Session& guest = room.join(Role::Player);
    ASSERT_TRUE(room.runUntil([&] { return guest.machine() == 1; }));
    guest.claim(1, true);
    room.host->claim(0, true);
    ASSERT_TRUE(room.runUntil([&] { return room.host->lobby().owners[1] == 1 && guest.lobby().owners[0] == 0; }));
    EXPECT_FALSE(room.host->mayClaim(1));
    EXPECT_FALSE(guest.mayClaim(0));
    room.host->claim(1, true);
    EXPECT_EQ(room.host->lobby().owners[1], 1);
    std::uint8_t human[4];
    guest.ownColours(human);
    EXPECT_EQ(human[0] + human[1] * 2 + human[2] * 4 + human[3] * 8, 2);

    // The machine goes: its colour is free again.
    room.guests.clear();
    ASSERT_TRUE(room.runUntil([&] { return room.host->lobby().owners[1] == net::kNobody; }));
}

// A machine that speaks the protocol but not the rules: it claims the host's
// colour, sends keys for the host's machine and for a colour not its own.
TEST(NetRoom, ForgedMessagesAreDroppedAndCounted) {
    Room room;
    net::Transport forger;
    std::string error;
    ASSERT_TRUE(forger.connect("127.0.0.1", room.host->port(), error)) << error;
    auto say = [&](const net::Message& message) {
        net::WireWriter writer;
        ASSERT_TRUE(net::encodeMessage(message, writer));
        forger.send(0, writer.data(), writer.size(), net::Delivery::Reliable);
        forger.flush();
    };
    net::TransportEvent event;
    int machine = -1;
    ASSERT_TRUE(room.runUntil([&] {
        while (forger.poll(event)) {
            net::Message message;
            if (event.kind == net::TransportEvent::Kind::Connected) say(net::helloFor(Role::Player, versions()));
            if (event.kind == net::TransportEvent::Kind::Received &&
                net::decodeMessage(event.data, event.size, message) == net::DecodeResult::Ok &&
                std::holds_alternative<net::Welcome>(message)) {
                machine = std::get<net::Welcome>(message).machine;
            }
        }
        return machine == 1;
    }));
    room.host->claim(0, true);
    say(net::Claim{0, true});
    say(net::Claim{2, true});
    ASSERT_TRUE(room.runUntil([&] { return forger.poll(event), room.host->lobby().owners[2] == 1; }));
    EXPECT_EQ(room.host->lobby().owners[0], 0);
    const std::uint64_t droppedBefore = room.host->dropped();

    const std::int32_t table[31] = {};
    ASSERT_TRUE(room.host->startMatch(table, 3, 0));
    net::Inputs forged;
    forged.matchId = room.host->match().matchId;
    forged.blockCount = 1;
    forged.blocks[0].runCount = 1;
    forged.blocks[0].runs[0] = net::InputRun{10, 0x01};  // green up: the host's colour
    forged.blocks[0].machine = 0;
    say(forged);
    forged.blocks[0].machine = 1;
    say(forged);
    forged.blocks[0].runs[0].bits = 0x10;  // red up: its own colour
    forged.blocks[0].firstFrame = 100000;  // far beyond the host
    say(forged);
    forged.blocks[0].firstFrame = 0;
    say(forged);
    ASSERT_TRUE(room.runUntil([&] { return forger.poll(event), room.host->timeline().held(1) == 10; }));
    EXPECT_EQ(room.host->timeline().held(0), 0u);
    EXPECT_EQ(room.host->timeline().keys(1, 3), 0x10);
    EXPECT_EQ(room.host->dropped() - droppedBefore, 3u);
}

// P on any machine that plays pauses the room's match everywhere, and P
// again on another lets it go on; a machine not in the match is not heard.
TEST(NetRoom, APauseAskedAnywhereHoldsEveryMachine) {
    Room room;
    Session& guest = room.join(Role::Player);
    Session& watcher = room.join(Role::Spectator);
    ASSERT_TRUE(room.runUntil([&] { return guest.machine() == 1 && room.host->lobby().spectators == 1; }));
    room.host->claim(0, true);
    guest.claim(1, true);
    ASSERT_TRUE(room.runUntil([&] { return room.host->lobby().owners[1] == 1; }));
    guest.requestPause(true);  // between matches: nothing to pause
    const std::int32_t table[31] = {};
    ASSERT_TRUE(room.host->startMatch(table, 3, 0));
    ASSERT_TRUE(room.runUntil([&] { return guest.inMatch() && watcher.inMatch(); }));
    EXPECT_FALSE(room.host->isPaused());

    guest.requestPause(true);
    ASSERT_TRUE(room.runUntil([&] { return room.host->isPaused() && guest.isPaused() && watcher.isPaused(); }));
    room.host->requestPause(false);
    ASSERT_TRUE(room.runUntil([&] { return !room.host->isPaused() && !guest.isPaused() && !watcher.isPaused(); }));
}

// A spectator, or a player that has left the match, says things that would
// move the room: a made-up hash, pauses. None of it is heard, and a pause
// asked by a player that then leaves ends as it leaves.
TEST(NetRoom, OnlyAMachineThatPlaysMovesTheRoom) {
    Room room;
    Session& guest = room.join(Role::Player);
    Session& watcher = room.join(Role::Spectator);
    ASSERT_TRUE(room.runUntil([&] { return guest.machine() == 1 && room.host->lobby().spectators == 1; }));
    room.host->claim(0, true);
    guest.claim(1, true);
    ASSERT_TRUE(room.runUntil([&] { return room.host->lobby().owners[1] == 1; }));
    const std::int32_t table[31] = {};
    ASSERT_TRUE(room.host->startMatch(table, 3, 0));
    ASSERT_TRUE(room.runUntil([&] { return guest.inMatch() && watcher.inMatch(); }));

    std::vector<SessionEvent> hostSaw;
    watcher.requestPause(true);
    watcher.reportHash(30, 0xBAD);
    guest.requestPause(true);
    ASSERT_TRUE(room.runUntil([&] { return room.host->isPaused() && watcher.isPaused(); }));
    guest.leaveMatch();
    ASSERT_TRUE(room.runUntil([&] { return !room.host->isPaused() && !watcher.isPaused(); }));
    guest.requestPause(true);
    room.runUntil([] { return false; });
    EXPECT_FALSE(room.host->isPaused());
    EXPECT_FALSE(hasEvent(hostSaw, *room.host, SessionEvent::Kind::OutOfStep));
    EXPECT_TRUE(room.host->inMatch());
}

// The host's game closes: the others hear it as a goodbye, not as a line
// that went dead, even when its last message and its goodbye come at once.
TEST(NetRoom, TheHostsGoodbyeIsNotALostConnection) {
    Room room;
    Session& guest = room.join(Role::Player);
    ASSERT_TRUE(room.runUntil([&] { return guest.machine() == 1; }));
    room.host.reset();
    const std::uint32_t start = nowMs();
    while (guest.problem().empty() && nowMs() - start < 2000) {
        guest.service(nowMs());
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(guest.problem(), "The host has left the game.");
}

}  // namespace
