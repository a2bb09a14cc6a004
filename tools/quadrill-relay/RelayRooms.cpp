#include "RelayRooms.h"

#include <algorithm>
#include <cstdio>

#include "net/Protocol.h"

using net::RelayWire;

namespace {

// How often the clock's work looks at every connection's queue.
constexpr std::uint32_t kSweepEveryMs = 100;

std::string addressText(std::uint32_t address) {
    // ENet keeps the address in network order.
    const auto* b = reinterpret_cast<const std::uint8_t*>(&address);
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
    return text;
}

}  // namespace

RelayRooms::RelayRooms(const RelayLimits& chosen, RelayOutput& output, RoomCodes roomCodes)
    : limits(chosen),
      out(output),
      codes(std::move(roomCodes)),
      addresses(chosen),
      admission(chosen.connections, chosen.handshakeMs, chosen.unfinishedPerAddress),
      links(static_cast<std::size_t>(std::max(chosen.connections, 0))) {}

RelayRooms::Link* RelayRooms::linkAt(int link) {
    if (link < 0 || static_cast<std::size_t>(link) >= links.size()) return nullptr;
    return &links[static_cast<std::size_t>(link)];
}

std::string RelayRooms::who(int link) const {
    const Link& l = links[static_cast<std::size_t>(link)];
    return addressText(l.address) + " #" + std::to_string(link);
}

int RelayRooms::machinesIn(const std::string& code) const {
    const auto found = roomsByCode.find(code);
    if (found == roomsByCode.end()) return -1;
    return found->second.count + (found->second.opener >= 0 ? 1 : 0);
}

void RelayRooms::arrived(int link, std::uint32_t address, std::uint32_t nowMs) {
    Link* l = linkAt(link);
    if (l == nullptr) return;
    // A connection let go whose end was never heard of: its slot is new.
    if (l->state != State::Free && l->state != State::Leaving) detach(link, false, nowMs);
    *l = Link{};
    l->state = State::New;
    l->address = address;
    l->secondStart = nowMs;
    admission.arrive(link, address, nowMs);
    addresses.linkArrived(address, nowMs);
}

void RelayRooms::left(int link, bool goodbye, std::uint32_t nowMs) {
    Link* l = linkAt(link);
    if (l == nullptr || l->state == State::Free) return;
    if (l->state != State::Leaving) detach(link, goodbye, nowMs);
    *l = Link{};
}

bool RelayRooms::withinBudget(int link, Link& from, std::size_t size, std::uint32_t nowMs) {
    if (nowMs - from.secondStart >= 1000) {
        from.secondStart = nowMs;
        from.messages = 0;
        from.bytes = 0;
    }
    ++from.messages;
    from.bytes += static_cast<std::uint32_t>(size);
    // One connection alone may send a share of its address's budget: the
    // opener half, enough for a full room; a guest, which talks only to
    // its opener, an eighth. A flood then ends before the queue it fills
    // for its opener grows long.
    const std::uint32_t share = from.state == State::Opener ? 2 : 8;
    if (from.messages > limits.messagesPerSecond / share || from.bytes > limits.bytesPerSecond / share) {
        drop(link, RelayOutput::Ending::Abrupt, "sends too much", nowMs);
        return false;
    }
    if (addresses.spend(from.address, size, from.messages, from.bytes, nowMs)) return true;
    // Over the address's budget: the connection that sends the most of it
    // goes, so that a flood costs the others of the address nothing.
    if (!addresses.isHeaviest(from.address, from.messages, from.bytes)) return true;
    drop(link, RelayOutput::Ending::Abrupt, "sends too much", nowMs);
    return false;
}

void RelayRooms::received(int link, std::uint8_t channel, const std::uint8_t* data, std::size_t size,
                          std::uint32_t nowMs) {
    Link* from = linkAt(link);
    if (from == nullptr || from->state == State::Free || from->state == State::Leaving) return;
    if (!withinBudget(link, *from, size, nowMs)) return;
    switch (from->state) {
        case State::New:
            return firstWord(link, *from, channel, data, size, nowMs);
        case State::Opener:
            return fromOpener(link, *from, channel, data, size, nowMs);
        case State::Guest:
            return fromGuest(*from, channel, data, size);
        case State::Waiting:
            // Nothing more until its Enter is answered.
            return drop(link, RelayOutput::Ending::Abrupt, "talks before its answer", nowMs);
        case State::Free:
        case State::Leaving:
            return;
    }
}

void RelayRooms::firstWord(int link, Link& from, std::uint8_t channel, const std::uint8_t* data, std::size_t size,
                           std::uint32_t nowMs) {
    RelayWire::Word asked;
    if (channel != RelayWire::kChannel || !RelayWire::decode(data, size, asked) ||
        (asked.type != RelayWire::Type::Open && asked.type != RelayWire::Type::Enter)) {
        return drop(link, RelayOutput::Ending::Abrupt, "said no relay word", nowMs);
    }
    if (asked.version != RelayWire::kVersion) return refuse(link, RelayWire::Refusal::OtherVersion, nowMs);
    if (asked.type == RelayWire::Type::Open) return open(link, from, nowMs);
    from.asked = asked.code;
    switch (addresses.guessing(from.address, nowMs)) {
        case AddressLimits::Guessing::Refused:
            return refuse(link, RelayWire::Refusal::TooManyGuesses, nowMs);
        case AddressLimits::Guessing::Slowed:
            from.state = State::Waiting;
            from.answerAt = nowMs + RelayLimits::kSlowedAnswerMs;
            waiting.push_back(link);
            return;
        case AddressLimits::Guessing::Free:
            return answerEnter(link, from, nowMs);
    }
}

void RelayRooms::open(int link, Link& from, std::uint32_t nowMs) {
    if (roomsByCode.size() >= static_cast<std::size_t>(limits.rooms)) {
        return refuse(link, RelayWire::Refusal::RelayFull, nowMs);
    }
    if (addresses.rooms(from.address) >= limits.roomsPerAddress) {
        return refuse(link, RelayWire::Refusal::TooManyRooms, nowMs);
    }
    const std::string code = codes.next([this](const std::string& c) { return roomsByCode.count(c) != 0; });
    if (code.empty()) return refuse(link, RelayWire::Refusal::RelayFull, nowMs);
    Room& room = roomsByCode[code];
    room.opener = link;
    room.openerAddress = from.address;
    addresses.roomOpened(from.address, nowMs);
    room.guests.assign(RelayWire::kMaxGuests, -1);
    from.state = State::Opener;
    from.room = code;
    admission.finish(link);
    RelayWire::Word opened;
    opened.type = RelayWire::Type::Opened;
    std::copy(code.begin(), code.end(), opened.code);
    word(link, RelayWire::kChannel, opened, false);
    out.log("room " + code + " opened by " + who(link) + " (" + std::to_string(roomsByCode.size()) + " rooms)");
}

void RelayRooms::answerEnter(int link, Link& from, std::uint32_t nowMs) {
    const auto found = roomsByCode.find(from.asked);
    if (found == roomsByCode.end()) {
        addresses.wrongCode(from.address, nowMs);
        return refuse(link, RelayWire::Refusal::NoSuchRoom, nowMs);
    }
    Room& room = found->second;
    if (room.closed) return refuse(link, RelayWire::Refusal::RoomClosed, nowMs);
    if (room.count + 1 >= limits.machinesPerRoom) return refuse(link, RelayWire::Refusal::RoomFull, nowMs);
    // Numbers go round, so that a number just freed is not given again
    // while the opener may still hear of its last holder.
    int number = -1;
    for (int step = 0; step < RelayWire::kMaxGuests && number < 0; ++step) {
        const int candidate = (room.nextGuest + step) % RelayWire::kMaxGuests;
        if (room.guests[static_cast<std::size_t>(candidate)] < 0) number = candidate;
    }
    if (number < 0) return refuse(link, RelayWire::Refusal::RoomFull, nowMs);
    room.nextGuest = static_cast<std::uint8_t>((number + 1) % RelayWire::kMaxGuests);
    room.guests[static_cast<std::size_t>(number)] = link;
    ++room.count;
    from.state = State::Guest;
    from.room = found->first;
    from.guest = static_cast<std::uint8_t>(number);
    admission.finish(link);
    RelayWire::Word entered;
    entered.type = RelayWire::Type::Entered;
    word(link, RelayWire::kChannel, entered, false);
    RelayWire::Word came;
    came.type = RelayWire::Type::GuestCame;
    came.guest = from.guest;
    word(room.opener, 0, came, true);
    out.log("guest " + std::to_string(number) + " entered room " + from.room + " from " + who(link));
}

void RelayRooms::fromOpener(int link, Link& from, std::uint8_t channel, const std::uint8_t* data, std::size_t size,
                            std::uint32_t nowMs) {
    const auto found = roomsByCode.find(from.room);
    if (channel == RelayWire::kChannel || size < RelayWire::kGuestHeaderBytes || found == roomsByCode.end()) {
        return drop(link, RelayOutput::Ending::Abrupt, "sent what no opener sends", nowMs);
    }
    Room& room = found->second;
    if (data[0] == kWordMarker) {
        RelayWire::Word told;
        if (channel != 0 || !RelayWire::decode(data + 1, size - 1, told) || told.type != RelayWire::Type::LetGo) {
            return drop(link, RelayOutput::Ending::Abrupt, "sent what no opener sends", nowMs);
        }
        const int guest = room.guests[told.guest];
        // What the opener sent it before goes first.
        if (guest >= 0) out.cut(guest, RelayOutput::Ending::AfterQueued);
        return;
    }
    const int guest = room.guests[data[0]];
    // A guest that has just gone: the opener will hear of it.
    if (guest < 0) return;
    out.send(guest, channel, data + 1, size - 1);
}

void RelayRooms::fromGuest(Link& from, std::uint8_t channel, const std::uint8_t* data, std::size_t size) {
    const auto found = roomsByCode.find(from.room);
    if (found == roomsByCode.end() || found->second.opener < 0) return;
    // The channel of the relay's words carries nothing of a guest's now; a
    // message too big for the opener's link is not the game's either.
    if (channel == RelayWire::kChannel || size > net::kMaxMessageBytes) return;
    std::uint8_t wrapped[net::kMaxMessageBytes + RelayWire::kGuestHeaderBytes];
    wrapped[0] = from.guest;
    std::copy(data, data + size, wrapped + 1);
    out.send(found->second.opener, channel, wrapped, size + 1);
}

void RelayRooms::word(int link, std::uint8_t channel, const RelayWire::Word& told, bool marked) {
    std::uint8_t bytes[RelayWire::kLongestWord + 1];
    std::size_t at = 0;
    if (marked) bytes[at++] = kWordMarker;
    at += RelayWire::encode(told, bytes + at);
    out.send(link, channel, bytes, at);
}

void RelayRooms::refuse(int link, RelayWire::Refusal refusal, std::uint32_t nowMs) {
    RelayWire::Word no;
    no.type = RelayWire::Type::Refused;
    no.refusal = refusal;
    word(link, RelayWire::kChannel, no, false);
    drop(link, RelayOutput::Ending::AfterQueued, RelayWire::refusalText(refusal).c_str(), nowMs);
}

void RelayRooms::drop(int link, RelayOutput::Ending ending, const char* why, std::uint32_t nowMs) {
    Link* l = linkAt(link);
    if (l == nullptr || l->state == State::Free || l->state == State::Leaving) return;
    out.log("let go " + who(link) + ": " + why);
    detach(link, false, nowMs);
    out.cut(link, ending);
    if (ending == RelayOutput::Ending::Abrupt) {
        // Nothing more is heard of it.
        *l = Link{};
    } else {
        l->state = State::Leaving;
    }
}

void RelayRooms::detach(int link, bool goodbye, std::uint32_t nowMs) {
    Link& l = links[static_cast<std::size_t>(link)];
    admission.leave(link);
    addresses.linkLeft(l.address, nowMs);
    waiting.erase(std::remove(waiting.begin(), waiting.end(), link), waiting.end());
    const State was = l.state;
    l.state = State::Leaving;
    const auto found = roomsByCode.find(l.room);
    if (found == roomsByCode.end()) return;
    Room& room = found->second;
    if (was == State::Opener && room.opener == link) {
        out.log("room " + l.room + ": its opener " + who(link) + (goodbye ? " left" : " was lost"));
        closeRoom(l.room, goodbye, nowMs);
    } else if (was == State::Guest && room.guests[l.guest] == link) {
        room.guests[l.guest] = -1;
        --room.count;
        RelayWire::Word went;
        went.type = RelayWire::Type::GuestWent;
        went.guest = l.guest;
        went.goodbye = goodbye;
        if (room.opener >= 0) word(room.opener, 0, went, true);
        out.log("guest " + std::to_string(l.guest) + " left room " + l.room);
    }
}

void RelayRooms::closeRoom(const std::string& code, bool goodbye, std::uint32_t nowMs) {
    Room& room = roomsByCode[code];
    room.opener = -1;
    room.closed = true;
    room.emptySince = nowMs;
    closing.push_back(code);
    for (int& guest : room.guests) {
        if (guest < 0) continue;
        Link& g = links[static_cast<std::size_t>(guest)];
        admission.leave(guest);
        addresses.linkLeft(g.address, nowMs);
        g.state = State::Leaving;
        // The opener's last words go first; a goodbye it said is passed on.
        out.cut(guest, goodbye ? RelayOutput::Ending::Goodbye : RelayOutput::Ending::AfterQueued);
        guest = -1;
    }
    room.count = 0;
}

void RelayRooms::tick(std::uint32_t nowMs) {
    int late = -1;
    while (admission.due(nowMs, late)) {
        drop(late, RelayOutput::Ending::Abrupt, "no word in time, or too many unfinished", nowMs);
        admission.leave(late);
    }
    for (std::size_t i = 0; i < waiting.size();) {
        const int link = waiting[i];
        Link& l = links[static_cast<std::size_t>(link)];
        if (l.state == State::Waiting && static_cast<std::int32_t>(nowMs - l.answerAt) >= 0) {
            waiting.erase(waiting.begin() + static_cast<std::ptrdiff_t>(i));
            l.state = State::New;
            answerEnter(link, l, nowMs);
        } else {
            ++i;
        }
    }
    while (!closing.empty()) {
        const auto found = roomsByCode.find(closing.front());
        if (found != roomsByCode.end() && nowMs - found->second.emptySince < limits.emptyRoomMs) break;
        if (found != roomsByCode.end()) {
            addresses.roomClosed(found->second.openerAddress, nowMs);
            roomsByCode.erase(found);
            out.log("room " + closing.front() + " closed (" + std::to_string(roomsByCode.size()) + " rooms)");
        }
        closing.pop_front();
    }
    if (nowMs - lastSweep < kSweepEveryMs) return;
    lastSweep = nowMs;
    for (std::size_t link = 0; link < links.size(); ++link) {
        const State state = links[link].state;
        if ((state == State::Opener || state == State::Guest) && out.queued(static_cast<int>(link)) > limits.queuedPackets) {
            drop(static_cast<int>(link), RelayOutput::Ending::Abrupt, "does not keep up", nowMs);
        }
    }
    addresses.forgetIdle(nowMs);
}
