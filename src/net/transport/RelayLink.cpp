#include "net/transport/RelayLink.h"

#include <cstring>

namespace net {

RelayLink::RelayLink(const std::string& code) : bOpener(code.empty()), sCode(code) {}

std::size_t RelayLink::firstWord(std::uint8_t* out) const {
    RelayWire::Word word;
    word.type = bOpener ? RelayWire::Type::Open : RelayWire::Type::Enter;
    if (!bOpener) std::memcpy(word.code, sCode.data(), RelayWire::kCodeLength);
    return RelayWire::encode(word, out);
}

bool RelayLink::translate(TransportEvent& event) {
    switch (event.kind) {
        case TransportEvent::Kind::Disconnected:
            return linkEnded(event);
        case TransportEvent::Kind::Received:
            return fromRelay(event);
        case TransportEvent::Kind::Connected:
        case TransportEvent::Kind::None:
            break;
    }
    return false;
}

bool RelayLink::linkEnded(TransportEvent& event) {
    if (!bOpener) {
        // Handed on as it is: the guest's side tells a goodbye from a loss,
        // and tries again when it was never let in.
        bEntered = false;
        return true;
    }
    bLost = true;
    if (sProblem.empty()) {
        sProblem = bOpened ? (event.goodbye ? "The relay has closed the room." : "The connection to the relay was lost.")
                           : "Could not reach the relay.";
    }
    return nextLeftover(event);
}

bool RelayLink::nextLeftover(TransportEvent& event) {
    if (!bLost) return false;
    for (int guest = 0; guest < RelayWire::kMaxGuests; ++guest) {
        if (!present[guest]) continue;
        present[guest] = false;
        event = TransportEvent{};
        event.kind = TransportEvent::Kind::Disconnected;
        event.peer = guest;
        return true;
    }
    return false;
}

bool RelayLink::fromRelay(TransportEvent& event) {
    RelayWire::Word word;
    if (event.channel == RelayWire::kChannel) {
        if (!RelayWire::decode(event.data, event.size, word)) return false;
        if (word.type == RelayWire::Type::Refused) {
            sProblem = RelayWire::refusalText(word.refusal);
            return false;
        }
        if (bOpener && word.type == RelayWire::Type::Opened) {
            sCode.assign(word.code, RelayWire::kCodeLength);
            bOpened = true;
        } else if (!bOpener && word.type == RelayWire::Type::Entered && !bEntered) {
            bEntered = true;
            event.kind = TransportEvent::Kind::Connected;
            event.size = 0;
            return true;
        }
        return false;
    }
    if (!bOpener) return bEntered;
    if (!bOpened || event.size < RelayWire::kGuestHeaderBytes) return false;
    const std::uint8_t guest = event.data[0];
    if (guest == kWordMarker) {
        // The relay's words about guests come in order with the messages.
        if (event.channel != 0 || !RelayWire::decode(event.data + 1, event.size - 1, word)) return false;
        if (word.type != RelayWire::Type::GuestCame && word.type != RelayWire::Type::GuestWent) return false;
        const bool came = word.type == RelayWire::Type::GuestCame;
        if (present[word.guest] == came) return false;
        present[word.guest] = came;
        event.kind = came ? TransportEvent::Kind::Connected : TransportEvent::Kind::Disconnected;
        event.peer = word.guest;
        event.goodbye = !came && word.goodbye;
        event.size = 0;
        return true;
    }
    if (!present[guest]) return false;
    event.peer = guest;
    event.size -= RelayWire::kGuestHeaderBytes;
    std::memmove(event.data, event.data + RelayWire::kGuestHeaderBytes, event.size);
    return true;
}

std::size_t RelayLink::wrap(PeerId guest, const std::uint8_t* data, std::size_t size, std::uint8_t* out) const {
    out[0] = static_cast<std::uint8_t>(guest);
    std::memcpy(out + RelayWire::kGuestHeaderBytes, data, size);
    return size + RelayWire::kGuestHeaderBytes;
}

std::size_t RelayLink::letGo(PeerId guest, std::uint8_t* out) const {
    RelayWire::Word word;
    word.type = RelayWire::Type::LetGo;
    word.guest = static_cast<std::uint8_t>(guest);
    out[0] = kWordMarker;
    return 1 + RelayWire::encode(word, out + 1);
}

bool RelayLink::isPresent(PeerId guest) const {
    return guest >= 0 && guest < RelayWire::kMaxGuests && present[guest];
}

}  // namespace net
