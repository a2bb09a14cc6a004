#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "RelayRooms.h"
#include "RoomCodes.h"
#include "net/RelayWire.h"

namespace {

using net::RelayWire;
using Ending = RelayOutput::Ending;

struct Sent {
    int link;
    std::uint8_t channel;
    std::vector<std::uint8_t> bytes;
};

class RecordedOutput : public RelayOutput {
public:
    void send(int link, std::uint8_t channel, const std::uint8_t* data, std::size_t size) override {
        sent.push_back({link, channel, std::vector<std::uint8_t>(data, data + size)});
    }
    void cut(int link, Ending ending) override { cuts[link] = ending; }
    std::size_t queued(int link) const override {
        const auto found = queues.find(link);
        return found == queues.end() ? 0 : found->second;
    }
    void log(const std::string&) override {}

    std::vector<Sent> sent;
    std::map<int, Ending> cuts;
    std::map<int, std::size_t> queues;
};

constexpr std::uint32_t kHome = 0x0100000A;
constexpr std::uint32_t kAway = 0x0200000A;

class RelayRoomsTest : public ::testing::Test {
protected:
    explicit RelayRoomsTest(RelayLimits chosen = RelayLimits()) : limits(chosen) {}

    void say(int link, const RelayWire::Word& word, std::uint32_t now) {
        std::uint8_t bytes[RelayWire::kLongestWord];
        relay.received(link, RelayWire::kChannel, bytes, RelayWire::encode(word, bytes), now);
    }
    // A room opened by `link`: its code.
    std::string open(int link, std::uint32_t address, std::uint32_t now = 0) {
        relay.arrived(link, address, now);
        RelayWire::Word word;
        word.type = RelayWire::Type::Open;
        say(link, word, now);
        RelayWire::Word opened;
        if (!lastWordTo(link, opened) || opened.type != RelayWire::Type::Opened) return "";
        return std::string(opened.code, RelayWire::kCodeLength);
    }
    void enter(int link, std::uint32_t address, const std::string& code, std::uint32_t now = 0) {
        relay.arrived(link, address, now);
        RelayWire::Word word;
        word.type = RelayWire::Type::Enter;
        std::copy(code.begin(), code.end(), word.code);
        say(link, word, now);
    }
    bool lastWordTo(int link, RelayWire::Word& word) const {
        for (auto it = out.sent.rbegin(); it != out.sent.rend(); ++it) {
            if (it->link == link && it->channel == RelayWire::kChannel) {
                return RelayWire::decode(it->bytes.data(), it->bytes.size(), word);
            }
        }
        return false;
    }
    // The answer to a link's Enter, if it has one.
    std::string answer(int link) const {
        RelayWire::Word word;
        if (!lastWordTo(link, word)) return "none";
        if (word.type == RelayWire::Type::Entered) return "entered";
        if (word.type != RelayWire::Type::Refused) return "other";
        switch (word.refusal) {
            case RelayWire::Refusal::NoSuchRoom: return "no such room";
            case RelayWire::Refusal::RoomFull: return "room full";
            case RelayWire::Refusal::RelayFull: return "relay full";
            case RelayWire::Refusal::TooManyGuesses: return "too many guesses";
            case RelayWire::Refusal::OtherVersion: return "other version";
            case RelayWire::Refusal::RoomClosed: return "room closed";
            case RelayWire::Refusal::TooManyRooms: return "too many rooms";
        }
        return "other";
    }
    void data(int link, std::uint8_t channel, std::vector<std::uint8_t> bytes, std::uint32_t now = 0) {
        relay.received(link, channel, bytes.data(), bytes.size(), now);
    }

    RelayLimits limits;
    RecordedOutput out;
    RelayRooms relay{limits, out, RoomCodes(7)};
};

TEST(RoomCodesTest, SixLettersNobodyMisreadsAndNoneTwice) {
    RoomCodes codes(1);
    std::set<std::string> given;
    for (int i = 0; i < 3000; ++i) {
        const std::string code = codes.next([&](const std::string& c) { return given.count(c) != 0; });
        ASSERT_EQ(6u, code.size());
        EXPECT_EQ(std::string::npos, code.find_first_of("O0I1L")) << code;
        EXPECT_TRUE(RelayWire::isCode(code)) << code;
        EXPECT_TRUE(given.insert(code).second) << code;
    }
    // Letters spread over the whole alphabet.
    std::set<char> letters;
    for (const std::string& code : given) letters.insert(code.begin(), code.end());
    EXPECT_EQ(RelayWire::kAlphabetSize, letters.size());
    EXPECT_EQ("", codes.next([](const std::string&) { return true; }));
    EXPECT_FALSE(RelayWire::isCode("ABCDEO"));
    EXPECT_FALSE(RelayWire::isCode("abcdef"));
    EXPECT_FALSE(RelayWire::isCode("ABCDE"));
}

TEST_F(RelayRoomsTest, GuestsAndOpenerHearEachOtherWithTheGuestsNumberAndTheirDelivery) {
    const std::string code = open(0, kHome);
    ASSERT_EQ(6u, code.size());
    enter(1, kAway, code);
    EXPECT_EQ("entered", answer(1));
    // The opener heard guest 0 come, on the reliable channel, in order
    // with the messages.
    ASSERT_FALSE(out.sent.empty());
    EXPECT_EQ(0, out.sent.back().link);
    EXPECT_EQ((std::vector<std::uint8_t>{0xFF, 6, 0}), out.sent.back().bytes);
    EXPECT_EQ(0, out.sent.back().channel);

    data(1, 1, {9, 8, 7});
    EXPECT_EQ(0, out.sent.back().link);
    EXPECT_EQ(1, out.sent.back().channel);
    EXPECT_EQ((std::vector<std::uint8_t>{0, 9, 8, 7}), out.sent.back().bytes);
    data(0, 0, {0, 5, 5});
    EXPECT_EQ(1, out.sent.back().link);
    EXPECT_EQ(0, out.sent.back().channel);
    EXPECT_EQ((std::vector<std::uint8_t>{5, 5}), out.sent.back().bytes);
    EXPECT_EQ(2, relay.machinesIn(code));

    // The opener lets the guest go after what it sent it.
    data(0, 0, {0xFF, 8, 0});
    EXPECT_EQ(Ending::AfterQueued, out.cuts.at(1));
    relay.left(1, false, 10);
    EXPECT_EQ((std::vector<std::uint8_t>{0xFF, 7, 0, 0}), out.sent.back().bytes);
    EXPECT_EQ(1, relay.machinesIn(code));
    // A new guest gets a new number.
    enter(2, kAway, code, 20);
    EXPECT_EQ((std::vector<std::uint8_t>{0xFF, 6, 1}), out.sent.back().bytes);
}

TEST_F(RelayRoomsTest, WrongCodesAreAnsweredSlowerThenNotAtAll) {
    const std::string code = open(0, kHome);
    int link = 1;
    for (int i = 0; i < 3; ++i, ++link) {
        enter(link, kAway, "ZZZZZZ" == code ? "YYYYYY" : "ZZZZZZ", 100);
        EXPECT_EQ("no such room", answer(link));
    }
    // The fourth waits a second for its answer, right code or not.
    enter(link, kAway, code, 100);
    EXPECT_EQ("none", answer(link));
    relay.tick(1099);
    EXPECT_EQ("none", answer(link));
    relay.tick(1100);
    EXPECT_EQ("entered", answer(link));
    ++link;
    for (; link < 12; ++link) {
        enter(link, kAway, "ZZZZZZ" == code ? "YYYYYY" : "ZZZZZZ", 2000);
        relay.tick(3000);
        EXPECT_EQ("no such room", answer(link));
    }
    // Ten wrong in a minute: not even the right code is looked at.
    enter(link, kAway, code, 3000);
    EXPECT_EQ("too many guesses", answer(link));
    // Another address is not held back, and the minute passes.
    enter(++link, kHome, code, 3000);
    EXPECT_EQ("entered", answer(link));
    enter(++link, kAway, code, 100 + 60000);
    EXPECT_EQ("entered", answer(link));
}

TEST_F(RelayRoomsTest, ARoomItsOpenerLeftKeepsItsCodeThirtySecondsThenCloses) {
    const std::string code = open(0, kHome, 1000);
    enter(1, kAway, code, 1000);
    relay.left(0, true, 5000);
    // The opener's goodbye is passed on, after its last words.
    EXPECT_EQ(Ending::Goodbye, out.cuts.at(1));
    EXPECT_EQ(1u, relay.rooms());
    relay.tick(5000 + 29999);
    EXPECT_EQ(1u, relay.rooms());
    enter(2, kAway, code, 5000 + 29999);
    EXPECT_EQ("room closed", answer(2));
    relay.tick(5000 + 30000);
    EXPECT_EQ(0u, relay.rooms());
    enter(3, kAway, code, 5000 + 30000);
    EXPECT_EQ("no such room", answer(3));
}

class SmallRelayTest : public RelayRoomsTest {
protected:
    static RelayLimits small() {
        RelayLimits l;
        l.rooms = 3;
        l.roomsPerAddress = 2;
        l.machinesPerRoom = 3;
        l.messagesPerSecond = 800;
        l.bytesPerSecond = 100000;
        l.connections = 64;
        l.queuedPackets = 50;
        return l;
    }
    SmallRelayTest() : RelayRoomsTest(small()) {}
};

TEST_F(SmallRelayTest, RoomsAtOnceAndMachinesARoomAreLimited) {
    const std::string code = open(0, kHome);
    EXPECT_FALSE(open(1, kHome).empty());
    EXPECT_EQ("", open(2, kHome));
    EXPECT_EQ("too many rooms", answer(2));
    EXPECT_FALSE(open(6, kAway).empty());
    EXPECT_EQ("", open(7, kAway));
    EXPECT_EQ("relay full", answer(7));
    enter(3, kAway, code);
    enter(4, kAway, code);
    enter(5, kAway, code);
    EXPECT_EQ("entered", answer(3));
    EXPECT_EQ("entered", answer(4));
    EXPECT_EQ("room full", answer(5));
    EXPECT_EQ(3, relay.machinesIn(code));
}

TEST_F(SmallRelayTest, AFloodCostsOnlyTheFlooderEvenFromTheSameAddress) {
    const std::string code = open(0, kHome);
    enter(1, kAway, code);
    enter(2, kAway, code);
    std::size_t toOpener = 0;
    for (std::uint32_t ms = 0; ms < 1000; ms += 25) {
        data(1, 1, {1}, ms);  // forty a second: an honest machine
        ++toOpener;
        for (int i = 0; i < 5 && out.cuts.count(2) == 0; ++i) data(2, 1, {2, 2, 2}, ms);
    }
    EXPECT_EQ(Ending::Abrupt, out.cuts.at(2));
    EXPECT_EQ(0u, out.cuts.count(1));
    std::size_t fromHonest = 0;
    for (const Sent& s : out.sent) fromHonest += s.link == 0 && s.bytes.size() == 2 && s.bytes[1] == 1 ? 1 : 0;
    EXPECT_EQ(toOpener, fromHonest);
}

TEST_F(SmallRelayTest, SilentGarbledAndSlowConnectionsAreLetGo) {
    // Silent past the handshake's time.
    relay.arrived(0, kHome, 0);
    relay.tick(1999);
    EXPECT_EQ(0u, out.cuts.count(0));
    relay.tick(2000);
    EXPECT_EQ(Ending::Abrupt, out.cuts.at(0));
    // A third unfinished connection from one address: the oldest goes.
    relay.arrived(1, kAway, 3000);
    relay.arrived(2, kAway, 3001);
    relay.arrived(3, kAway, 3002);
    relay.tick(3002);
    EXPECT_EQ(1u, out.cuts.count(1));
    EXPECT_EQ(0u, out.cuts.count(2));
    // Garbage as a first word.
    data(2, 0, {1, 2, 3}, 3003);
    EXPECT_EQ(Ending::Abrupt, out.cuts.at(2));
    data(3, RelayWire::kChannel, {2, 1, 'O', 'O', 'O', 'O', 'O', 'O'}, 3003);
    EXPECT_EQ(Ending::Abrupt, out.cuts.at(3));
    // A guest whose packets pile up.
    const std::string code = open(4, kHome, 4000);
    enter(5, kAway, code, 4000);
    out.queues[5] = 51;
    relay.tick(4200);
    EXPECT_EQ(Ending::Abrupt, out.cuts.at(5));
    EXPECT_EQ(1, relay.machinesIn(code));
}

}  // namespace
