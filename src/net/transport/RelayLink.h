#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "net/RelayWire.h"
#include "net/transport/Transport.h"

namespace net {

// This machine's side of a room on a relay. The opener's: the relay's
// guests as connections of their own, each message to one of them with
// its number in front, their comings and goings from the relay's words.
// A guest's: nothing heard until the relay let it in, then the opener as
// peer 0. It only rewrites events and messages; Transport does the sending.
class RelayLink {
public:
    // An empty code opens a room; another enters it.
    explicit RelayLink(const std::string& code);

    bool isOpener() const { return bOpener; }
    // The Open or Enter word, for the relay's channel, once connected.
    std::size_t firstWord(std::uint8_t* out) const;
    // Turns what came from the relay into what the game hears, in place;
    // false when it is nothing for the game.
    bool translate(TransportEvent& event);
    // Once the relay is gone: each guest's going, one a call.
    bool nextLeftover(TransportEvent& event);
    // The opener's message for a guest, with its number in front.
    std::size_t wrap(PeerId guest, const std::uint8_t* data, std::size_t size, std::uint8_t* out) const;
    // The opener's word that a guest is to go (reliable channel).
    std::size_t letGo(PeerId guest, std::uint8_t* out) const;
    bool isPresent(PeerId guest) const;
    // A guest: the relay let it in.
    bool isIn() const { return bEntered; }

    const std::string& code() const { return sCode; }
    const std::string& problem() const { return sProblem; }
    bool lost() const { return bLost; }

    static constexpr std::uint8_t kWordMarker = 0xFF;

private:
    bool fromRelay(TransportEvent& event);
    bool linkEnded(TransportEvent& event);

    bool bOpener;
    std::string sCode;
    std::string sProblem;
    bool bEntered = false;
    bool bOpened = false;
    bool bLost = false;
    bool present[RelayWire::kMaxGuests] = {};
};

}  // namespace net
