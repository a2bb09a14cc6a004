#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "net/Protocol.h"
#include "net/RelayWire.h"

namespace net {

class RelayLink;

// A connection to another machine, by a small number that stays the same
// while the connection lasts.
using PeerId = int;
constexpr PeerId kNoPeer = -1;

enum class Delivery {
    Reliable,    // arrives, once and in order, or the connection ends
    Unreliable,  // may be lost; a newer one makes up for it
};

struct TransportEvent {
    enum class Kind { None, Connected, Received, Disconnected };
    Kind kind = Kind::None;
    PeerId peer = kNoPeer;
    // Disconnected: the other side said goodbye, rather than fell silent
    // or was cut off.
    bool goodbye = false;
    std::uint8_t channel = 0;
    std::size_t size = 0;
    // Room for the guest's number the relay puts in front of a message.
    std::uint8_t data[kMaxMessageBytes + RelayWire::kGuestHeaderBytes] = {};
};

// UDP connections over ENet, one port: the host listens on it, the others
// connect to it. Every message fits one datagram, and nobody can make the
// game hold more than a little of anyone's data waiting: a packet bigger
// than a message ends the connection instead.
//
// A machine is gone when nothing at all has come from it for kDropAfterMs,
// however many of our packets are still on their way: on a lossy line a
// packet can take many tries, and the machine is still there meanwhile.
//
// Listening, the port has far more connection slots than a room admits: a
// connection that has not been admitted (see admitted()) within
// kHandshakeWithinMs is cut, and one address holds at most
// kMaxUnfinishedPerAddress such connections, so nobody keeps the room
// from filling by opening connections and saying nothing.
//
// Through a relay (see useRelay()), the machine that opened the room sees
// each guest of the relay as a connection of its own, as if it listened,
// and a guest sees the opener as peer 0, as if it had connected to it.
class Transport {
public:
    Transport();
    ~Transport();
    Transport(const Transport&) = delete;
    Transport& operator=(const Transport&) = delete;

    // Hosting: listens on the port of every address of this machine.
    bool listen(std::uint16_t port, std::string& error);
    // Joining: starts connecting to the host; a Connected or Disconnected
    // event tells how it went. The host is then peer 0.
    bool connect(const std::string& host, std::uint16_t port, std::string& error);

    // The next thing that happened, without waiting; false when nothing did.
    bool poll(TransportEvent& event);
    // Before connect(): the host given is a relay. An empty code opens a
    // room there (roomCode() tells its code once the relay gave it);
    // another enters the room with that code.
    void useRelay(const std::string& code);
    bool isRelayed() const;
    const std::string& roomCode() const;
    // Why the relay turned this machine away, or was lost; empty while
    // all is well.
    const std::string& relayProblem() const;

    // Waits up to `ms` for something to arrive (the menu's idle turns).
    void wait(std::uint32_t ms);
    void send(PeerId peer, const std::uint8_t* data, std::size_t size, Delivery delivery);
    // Sends what is queued now rather than at the next poll.
    void flush();
    // Ends a connection once what is queued has gone.
    void disconnect(PeerId peer);
    // Ends every connection at once, telling the others if a datagram can.
    void disconnectAll();
    // Says goodbye to every connection, and waits up to `ms` for the others
    // to hear it.
    void goodbyeAll(std::uint32_t ms);
    // The machine on this connection has finished its handshake: it is no
    // longer cut for being slow to say who it is.
    void admitted(PeerId peer);

    // The port listened on (the one the system chose, when asked for 0).
    std::uint16_t port() const;
    std::uint32_t roundTripMs(PeerId peer) const;
    bool isConnected(PeerId peer) const;
    // Bytes of UDP payload sent and received since the start.
    std::uint64_t bytesSent() const;
    std::uint64_t bytesReceived() const;
    // Datagrams that were not a message of ours: too big, or on no channel
    // we use.
    std::uint64_t discarded() const { return cDiscarded; }

    static constexpr std::size_t kPeerSlots = 256;
    static constexpr std::uint32_t kHandshakeWithinMs = 2000;
    static constexpr int kMaxUnfinishedPerAddress = 2;

private:
    struct Host;
    bool pollLink(TransportEvent& event);
    bool pollRelayed(TransportEvent& event);
    void sendLink(const std::uint8_t* data, std::size_t size, std::uint8_t channel, bool reliable);
    // Watches over the connections: cuts the silent, the slow to admit, and
    // the pile of unfinished ones from one address. A Disconnected event
    // for a connection that was announced, else false.
    bool watch(TransportEvent& event);
    void cut(PeerId peer);
    // Cuts a connection; true, with the Disconnected event, when it had
    // been announced.
    bool cutAndTell(PeerId peer, TransportEvent& event);
    std::unique_ptr<Host> pHost;
    std::unique_ptr<RelayLink> pRelay;
    std::uint64_t cDiscarded = 0;
};

}  // namespace net
