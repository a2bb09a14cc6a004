#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "net/RelayWire.h"
#include "net/transport/RelayLink.h"

namespace {

using net::RelayLink;
using net::RelayWire;
using net::TransportEvent;

TransportEvent received(std::uint8_t channel, std::vector<std::uint8_t> bytes) {
    TransportEvent event;
    event.kind = TransportEvent::Kind::Received;
    event.peer = 0;
    event.channel = channel;
    event.size = bytes.size();
    std::memcpy(event.data, bytes.data(), bytes.size());
    return event;
}

// The opener's link as the relay speaks on it: the room's code, then
// guests as connections of their own.
TEST(RelayLinkTest, TheOpenerSeesEachGuestAsAConnectionAndLosesThemAllWithTheRelay) {
    RelayLink link("");
    TransportEvent event = received(RelayWire::kChannel, {3, 'K', 'Q', 'Z', 'M', 'T', 'B'});
    EXPECT_FALSE(link.translate(event));
    EXPECT_EQ("KQZMTB", link.code());

    event = received(0, {0xFF, 6, 4});
    ASSERT_TRUE(link.translate(event));
    EXPECT_EQ(TransportEvent::Kind::Connected, event.kind);
    EXPECT_EQ(4, event.peer);
    event = received(0, {0xFF, 6, 7});
    ASSERT_TRUE(link.translate(event));

    // A message of guest 4, without its number; one of a guest nobody
    // announced is nobody's.
    event = received(1, {4, 10, 11});
    ASSERT_TRUE(link.translate(event));
    EXPECT_EQ(TransportEvent::Kind::Received, event.kind);
    EXPECT_EQ(4, event.peer);
    ASSERT_EQ(2u, event.size);
    EXPECT_EQ(10, event.data[0]);
    event = received(1, {5, 10});
    EXPECT_FALSE(link.translate(event));

    std::uint8_t out[net::kMaxMessageBytes + 1];
    const std::uint8_t message[] = {1, 2};
    ASSERT_EQ(3u, link.wrap(7, message, 2, out));
    EXPECT_EQ(7, out[0]);
    ASSERT_EQ(3u, link.letGo(7, out));
    EXPECT_EQ((std::vector<std::uint8_t>{0xFF, 8, 7}), std::vector<std::uint8_t>(out, out + 3));

    event = received(0, {0xFF, 7, 4, 1});
    ASSERT_TRUE(link.translate(event));
    EXPECT_EQ(TransportEvent::Kind::Disconnected, event.kind);
    EXPECT_TRUE(event.goodbye);
    EXPECT_FALSE(link.isPresent(4));

    // The relay is lost: guest 7 goes too, once, and the room is over.
    TransportEvent lost;
    lost.kind = TransportEvent::Kind::Disconnected;
    ASSERT_TRUE(link.translate(lost));
    EXPECT_EQ(7, lost.peer);
    EXPECT_FALSE(link.nextLeftover(lost));
    EXPECT_EQ("The connection to the relay was lost.", link.problem());
}

TEST(RelayLinkTest, AGuestHearsNothingBeforeItIsInAndIsToldWhyItIsNot) {
    RelayLink link("KQZMTB");
    std::uint8_t word[RelayWire::kLongestWord];
    ASSERT_EQ(8u, link.firstWord(word));
    EXPECT_EQ(2, word[0]);
    EXPECT_EQ('K', word[2]);

    TransportEvent event = received(0, {1, 2, 3});
    EXPECT_FALSE(link.translate(event));
    event = received(RelayWire::kChannel, {4});
    ASSERT_TRUE(link.translate(event));
    EXPECT_EQ(TransportEvent::Kind::Connected, event.kind);
    event = received(0, {1, 2, 3});
    EXPECT_TRUE(link.translate(event));

    RelayLink refused("ZZZZZZ");
    event = received(RelayWire::kChannel, {5, 0});
    EXPECT_FALSE(refused.translate(event));
    EXPECT_EQ("The relay has no room with that code.", refused.problem());
    // Garbled words are nobody's.
    for (const std::vector<std::uint8_t>& bad :
         {std::vector<std::uint8_t>{5, 99}, {4, 0}, {3, 'A'}, {9}, {}}) {
        RelayWire::Word w;
        EXPECT_FALSE(RelayWire::decode(bad.data(), bad.size(), w));
    }
}

}  // namespace
