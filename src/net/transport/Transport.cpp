#include "net/transport/Transport.h"

#include <enet/enet.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "net/Admission.h"
#include "net/transport/RelayLink.h"

namespace net {

namespace {

// The game's two, and the relay's own words.
constexpr std::size_t kChannels = 3;
constexpr std::size_t kGameChannels = 2;
constexpr enet_uint8 kReliableChannel = 0;
constexpr enet_uint8 kUnreliableChannel = 1;
// Data of a peer's that waits with us for an earlier packet, all channels:
// beyond, what comes is not taken, so it comes again later.
constexpr std::size_t kMaxWaitingBytes = 64 * 1024;
// A packet is assembled up to this size, so that one too big for a
// message is seen and its sender cut off; ENet drops bigger ones itself.
constexpr std::size_t kLargestAssembled = 64 * 1024;
// ENet's own patience with a packet nobody acknowledges. It is not what
// drops a machine (silence is): retries may take long on a lossy line
// while the machine keeps talking.
constexpr enet_uint32 kEnetPatienceMs = 30000;
// ENet waits twice as long before each new try of a lost packet; we keep
// the tries this close together, so that a few losses in a row cost a
// second, not seconds.
constexpr enet_uint32 kLongestRetryMs = 1000;
constexpr enet_uint32 kLongestHandshakeRetryMs = 400;
// What a goodbye carries, told apart from a cut-off connection.
constexpr enet_uint32 kGoodbye = 0x51554144;

struct Slot {
    bool active = false;
    // Which connection of the peer slot this is: ENet's own number for it.
    enet_uint32 connection = 0;
    bool announced = false;
    enet_uint32 heard = 0;
};

}  // namespace

struct Transport::Host {
    ENetHost* host = nullptr;
    bool listening = false;
    std::vector<Slot> slots;
    // Listening: who may still finish a handshake, by the same rules as a
    // relay's.
    std::unique_ptr<Admission> admission;
    enet_uint32 watchedAt = 0;
    std::uint64_t sentBefore = 0;
    std::uint64_t receivedBefore = 0;

    ~Host() {
        if (host != nullptr) enet_host_destroy(host);
    }
    ENetPeer* peer(PeerId id) const {
        if (host == nullptr || id < 0 || static_cast<std::size_t>(id) >= host->peerCount) return nullptr;
        return &host->peers[id];
    }
    void limit() {
        host->maximumPacketSize = kLargestAssembled;
        host->maximumWaitingData = kMaxWaitingBytes;
        slots.assign(host->peerCount, Slot{});
    }
    // A slot's new connection: watched from now.
    void arrive(std::size_t i, enet_uint32 now) {
        slots[i] = Slot{};
        slots[i].active = true;
        slots[i].connection = host->peers[i].connectID;
        slots[i].heard = now;
        if (admission) admission->arrive(static_cast<int>(i), host->peers[i].address.host, now);
    }
    void vacate(std::size_t i) {
        slots[i] = Slot{};
        if (admission) admission->leave(static_cast<int>(i));
    }
    // ENet's own counters are 32-bit and wrap; ours do not.
    void gatherCounters() {
        sentBefore += host->totalSentData;
        receivedBefore += host->totalReceivedData;
        host->totalSentData = 0;
        host->totalReceivedData = 0;
    }
};

Transport::Transport() : pHost(std::make_unique<Host>()) { enet_initialize(); }

Transport::~Transport() {
    pHost.reset();
    enet_deinitialize();
}

bool Transport::listen(std::uint16_t port, std::string& error) {
    ENetAddress address;
    address.host = ENET_HOST_ANY;
    address.port = port;
    pHost->host = enet_host_create(&address, kPeerSlots, kChannels, 0, 0);
    pHost->listening = true;
    if (pHost->host == nullptr) {
        error = "cannot listen on UDP port " + std::to_string(port) + " (is another game using it?)";
        return false;
    }
    pHost->limit();
    pHost->admission = std::make_unique<Admission>(static_cast<int>(pHost->host->peerCount), kHandshakeWithinMs,
                                                   kMaxUnfinishedPerAddress);
    return true;
}

bool Transport::connect(const std::string& hostName, std::uint16_t port, std::string& error) {
    if (pHost->host != nullptr) {
        // Another try: a fresh socket, as a new machine.
        pHost->gatherCounters();
        enet_host_destroy(pHost->host);
        pHost->host = nullptr;
    }
    pHost->host = enet_host_create(nullptr, 1, kChannels, 0, 0);
    if (pHost->host == nullptr) {
        error = "cannot open a UDP socket";
        return false;
    }
    pHost->limit();
    ENetAddress address;
    if (enet_address_set_host(&address, hostName.c_str()) != 0) {
        error = "cannot find the address of " + hostName;
        return false;
    }
    address.port = port;
    ENetPeer* peer = enet_host_connect(pHost->host, &address, kChannels, 0);
    if (peer == nullptr) {
        error = "cannot connect to " + hostName;
        return false;
    }
    // A host that does not answer is given up on as soon as a silent one.
    enet_peer_timeout(peer, ENET_PEER_TIMEOUT_LIMIT, kDropAfterMs, kDropAfterMs);
    return true;
}

namespace {

// Keeps the tries of every lost packet of the peer at most `longest` apart.
void keepRetriesClose(ENetPeer& peer, enet_uint32 longest) {
    ENetList& sent = peer.sentReliableCommands;
    for (ENetListIterator it = enet_list_begin(&sent); it != enet_list_end(&sent); it = enet_list_next(it)) {
        ENetOutgoingCommand& command = *reinterpret_cast<ENetOutgoingCommand*>(it);
        if (command.roundTripTimeout > longest) command.roundTripTimeout = longest;
        const enet_uint32 due = command.sentTime + command.roundTripTimeout;
        if (static_cast<std::int32_t>(due - peer.nextTimeout) < 0) peer.nextTimeout = due;
    }
}

}  // namespace

void Transport::cut(PeerId id) {
    ENetPeer* peer = pHost->peer(id);
    if (peer == nullptr) return;
    // Told, if a datagram can: a machine cut off while it was still coming
    // in may try again at once.
    enet_peer_disconnect_now(peer, 0);
    pHost->vacate(static_cast<std::size_t>(id));
}

bool Transport::cutAndTell(PeerId id, TransportEvent& event) {
    const bool announced = pHost->slots[static_cast<std::size_t>(id)].announced;
    cut(id);
    if (!announced) return false;
    event.kind = TransportEvent::Kind::Disconnected;
    event.peer = id;
    event.goodbye = false;
    event.size = 0;
    return true;
}

bool Transport::watch(TransportEvent& event) {
    ENetHost* host = pHost->host;
    const enet_uint32 now = enet_time_get();
    if (now == pHost->watchedAt) return false;
    pHost->watchedAt = now;
    std::vector<Slot>& slots = pHost->slots;
    for (std::size_t i = 0; i < host->peerCount; ++i) {
        ENetPeer& peer = host->peers[i];
        Slot& slot = slots[i];
        if (peer.state == ENET_PEER_STATE_DISCONNECTED) {
            if (slot.active) pHost->vacate(i);
            continue;
        }
        if (!slot.active || slot.connection != peer.connectID) pHost->arrive(i, now);
        const bool connected = peer.state == ENET_PEER_STATE_CONNECTED;
        keepRetriesClose(peer, connected ? std::clamp<enet_uint32>(peer.roundTripTime * 2 + 100, 200, kLongestRetryMs)
                                         : kLongestHandshakeRetryMs);
        if (!connected) continue;
        // Acknowledgements count as word from the machine too.
        if (peer.lastReceiveTime != 0 && now - peer.lastReceiveTime < now - slot.heard) slot.heard = peer.lastReceiveTime;
        if (now - slot.heard >= kDropAfterMs && cutAndTell(static_cast<PeerId>(i), event)) return true;
    }
    if (!pHost->admission) return false;
    // Too slow to finish the handshake, or one too many unfinished of an
    // address (the newest stay).
    int late = -1;
    while (pHost->admission->due(now, late)) {
        if (cutAndTell(static_cast<PeerId>(late), event)) return true;
    }
    return false;
}

void Transport::admitted(PeerId id) {
    // The relay has its own rules for connections it has not placed.
    if (pRelay) return;
    if (pHost->peer(id) != nullptr && pHost->admission) pHost->admission->finish(id);
}

bool Transport::poll(TransportEvent& event) { return pRelay ? pollRelayed(event) : pollLink(event); }

bool Transport::pollRelayed(TransportEvent& event) {
    if (pRelay->nextLeftover(event)) return true;
    while (pollLink(event)) {
        if (event.kind == TransportEvent::Kind::Connected) {
            std::uint8_t word[RelayWire::kLongestWord];
            sendLink(word, pRelay->firstWord(word), RelayWire::kChannel, true);
            continue;
        }
        if (pRelay->translate(event)) return true;
    }
    return false;
}

void Transport::useRelay(const std::string& code) { pRelay = std::make_unique<RelayLink>(code); }

bool Transport::isRelayed() const { return pRelay != nullptr; }

const std::string& Transport::roomCode() const {
    static const std::string none;
    return pRelay ? pRelay->code() : none;
}

const std::string& Transport::relayProblem() const {
    static const std::string none;
    return pRelay ? pRelay->problem() : none;
}

bool Transport::pollLink(TransportEvent& event) {
    if (pHost->host == nullptr) return false;
    if (watch(event)) return true;
    ENetEvent raw;
    while (enet_host_service(pHost->host, &raw, 0) > 0) {
        event.peer = static_cast<PeerId>(raw.peer - pHost->host->peers);
        event.size = 0;
        event.goodbye = false;
        Slot& slot = pHost->slots[static_cast<std::size_t>(event.peer)];
        switch (raw.type) {
            case ENET_EVENT_TYPE_CONNECT:
                // Silence, watched above, drops a machine; ENet only gives up
                // on a packet after very long.
                enet_peer_timeout(raw.peer, ENET_PEER_TIMEOUT_LIMIT, kEnetPatienceMs, kEnetPatienceMs);
                if (!slot.active || slot.connection != raw.peer->connectID) {
                    pHost->arrive(static_cast<std::size_t>(event.peer), enet_time_get());
                }
                slot.announced = true;
                slot.heard = enet_time_get();
                event.kind = TransportEvent::Kind::Connected;
                return true;
            case ENET_EVENT_TYPE_DISCONNECT:
                pHost->vacate(static_cast<std::size_t>(event.peer));
                event.kind = TransportEvent::Kind::Disconnected;
                event.goodbye = raw.data == kGoodbye;
                return true;
            case ENET_EVENT_TYPE_RECEIVE: {
                const std::size_t size = raw.packet->dataLength;
                // Only the link to a relay carries its words, and only the
                // opener's the guest's number in front of each message.
                const std::size_t largest = kMaxMessageBytes + (pRelay && pRelay->isOpener() ? RelayWire::kGuestHeaderBytes : 0);
                const bool usable = size <= largest && raw.channelID < (pRelay ? kChannels : kGameChannels);
                if (usable) {
                    std::memcpy(event.data, raw.packet->data, size);
                    event.size = size;
                    event.channel = raw.channelID;
                }
                enet_packet_destroy(raw.packet);
                slot.heard = enet_time_get();
                if (!usable) {
                    // Nobody of ours sends such a thing.
                    ++cDiscarded;
                    const bool announced = slot.announced;
                    cut(event.peer);
                    if (!announced) continue;
                    event.kind = TransportEvent::Kind::Disconnected;
                    return true;
                }
                event.kind = TransportEvent::Kind::Received;
                return true;
            }
            case ENET_EVENT_TYPE_NONE:
                break;
        }
    }
    return false;
}

void Transport::wait(std::uint32_t ms) {
    if (pHost->host == nullptr) return;
    enet_uint32 condition = ENET_SOCKET_WAIT_RECEIVE;
    enet_socket_wait(pHost->host->socket, &condition, ms);
}

void Transport::sendLink(const std::uint8_t* data, std::size_t size, std::uint8_t channel, bool reliable) {
    ENetPeer* peer = pHost->peer(0);
    if (peer == nullptr || peer->state != ENET_PEER_STATE_CONNECTED) return;
    ENetPacket* packet = enet_packet_create(data, size, reliable ? ENET_PACKET_FLAG_RELIABLE : 0);
    if (packet == nullptr) return;
    if (enet_peer_send(peer, channel, packet) != 0) enet_packet_destroy(packet);
}

void Transport::send(PeerId id, const std::uint8_t* data, std::size_t size, Delivery delivery) {
    const bool reliable = delivery == Delivery::Reliable;
    if (pRelay && pRelay->isOpener()) {
        if (!pRelay->isPresent(id) || size > kMaxMessageBytes) return;
        std::uint8_t wrapped[kMaxMessageBytes + RelayWire::kGuestHeaderBytes];
        sendLink(wrapped, pRelay->wrap(id, data, size, wrapped), reliable ? kReliableChannel : kUnreliableChannel,
                 reliable);
        return;
    }
    if (pRelay && !pRelay->isIn()) return;
    ENetPeer* peer = pHost->peer(id);
    // Nothing of ours is longer than a message; the other side would cut
    // us off for it, so the size is left for it to judge.
    if (peer == nullptr || peer->state != ENET_PEER_STATE_CONNECTED) return;
    ENetPacket* packet = enet_packet_create(data, size, reliable ? ENET_PACKET_FLAG_RELIABLE : 0);
    if (packet == nullptr) return;
    if (enet_peer_send(peer, reliable ? kReliableChannel : kUnreliableChannel, packet) != 0) {
        enet_packet_destroy(packet);
    }
}

void Transport::flush() {
    if (pHost->host != nullptr) enet_host_flush(pHost->host);
}

void Transport::disconnect(PeerId id) {
    if (pRelay && pRelay->isOpener()) {
        // The relay lets the guest go once what we sent it has gone.
        std::uint8_t word[RelayWire::kLongestWord + 1];
        if (pRelay->isPresent(id)) sendLink(word, pRelay->letGo(id, word), kReliableChannel, true);
        return;
    }
    if (ENetPeer* peer = pHost->peer(id)) enet_peer_disconnect_later(peer, 0);
}

void Transport::disconnectAll() {
    if (pHost->host == nullptr) return;
    for (std::size_t i = 0; i < pHost->host->peerCount; ++i) {
        ENetPeer& peer = pHost->host->peers[i];
        if (peer.state == ENET_PEER_STATE_CONNECTED) enet_peer_disconnect_now(&peer, kGoodbye);
    }
    enet_host_flush(pHost->host);
}

void Transport::goodbyeAll(std::uint32_t ms) {
    ENetHost* host = pHost->host;
    if (host == nullptr) return;
    // After what is queued, so that the last messages go first; a goodbye
    // that arrives alone still says it was one.
    for (std::size_t i = 0; i < host->peerCount; ++i) {
        ENetPeer& peer = host->peers[i];
        if (peer.state == ENET_PEER_STATE_CONNECTED) enet_peer_disconnect_later(&peer, kGoodbye);
    }
    const enet_uint32 start = enet_time_get();
    while (enet_time_get() - start < ms) {
        bool waiting = false;
        for (std::size_t i = 0; i < host->peerCount; ++i) {
            const ENetPeer& peer = host->peers[i];
            waiting = waiting || peer.state == ENET_PEER_STATE_DISCONNECT_LATER ||
                      peer.state == ENET_PEER_STATE_DISCONNECTING;
        }
        if (!waiting) break;
        for (std::size_t i = 0; i < host->peerCount; ++i) {
            if (host->peers[i].state != ENET_PEER_STATE_DISCONNECTED) {
                keepRetriesClose(host->peers[i], kLongestHandshakeRetryMs);
            }
        }
        ENetEvent raw;
        if (enet_host_service(host, &raw, 10) > 0 && raw.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(raw.packet);
    }
    disconnectAll();
}

std::uint16_t Transport::port() const {
    if (pHost->host == nullptr) return 0;
    ENetAddress bound;
    if (enet_socket_get_address(pHost->host->socket, &bound) != 0) return 0;
    return bound.port;
}

std::uint32_t Transport::roundTripMs(PeerId id) const {
    // Through a relay, the round trip we know is ours to it.
    const ENetPeer* peer = pHost->peer(pRelay ? 0 : id);
    return peer != nullptr ? peer->roundTripTime : 0;
}

bool Transport::isConnected(PeerId id) const {
    if (pRelay && !(pRelay->isOpener() ? pRelay->isPresent(id) : pRelay->isIn())) return false;
    if (pRelay) id = 0;
    const ENetPeer* peer = pHost->peer(id);
    return peer != nullptr && peer->state == ENET_PEER_STATE_CONNECTED;
}

std::uint64_t Transport::bytesSent() const {
    if (pHost->host == nullptr) return pHost->sentBefore;
    pHost->gatherCounters();
    return pHost->sentBefore;
}

std::uint64_t Transport::bytesReceived() const {
    if (pHost->host == nullptr) return pHost->receivedBefore;
    pHost->gatherCounters();
    return pHost->receivedBefore;
}

}  // namespace net
