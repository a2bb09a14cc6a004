#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "net/Protocol.h"

namespace net {

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
    std::size_t size = 0;
    std::uint8_t data[kMaxMessageBytes] = {};
};

// UDP connections over ENet, one port: the host listens on it, the others
// connect to it. Every message fits one datagram, and nobody can make the
// game hold more than a little of anyone's data waiting: packets bigger
// than a message, or piling up, end the connection instead.
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
    // Waits up to `ms` for something to arrive (the menu's idle turns).
    void wait(std::uint32_t ms);
    void send(PeerId peer, const std::uint8_t* data, std::size_t size, Delivery delivery);
    // Sends what is queued now rather than at the next poll.
    void flush();
    // Ends a connection once what is queued has gone.
    void disconnect(PeerId peer);
    // Ends every connection at once, telling the others if a datagram can.
    void disconnectAll();

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

private:
    struct Host;
    std::unique_ptr<Host> pHost;
    std::uint64_t cDiscarded = 0;
};

}  // namespace net
