#include "net/RelayWire.h"

#include <cstring>

namespace net {

constexpr char RelayWire::kAlphabet[];

namespace {

bool inAlphabet(char c) { return c != '\0' && std::strchr(RelayWire::kAlphabet, c) != nullptr; }

}  // namespace

std::size_t RelayWire::encode(const Word& word, std::uint8_t* out) {
    out[0] = static_cast<std::uint8_t>(word.type);
    switch (word.type) {
        case Type::Open:
            out[1] = word.version;
            return 2;
        case Type::Enter:
            out[1] = word.version;
            std::memcpy(out + 2, word.code, kCodeLength);
            return 2 + kCodeLength;
        case Type::Opened:
            std::memcpy(out + 1, word.code, kCodeLength);
            return 1 + kCodeLength;
        case Type::Entered:
            return 1;
        case Type::Refused:
            out[1] = static_cast<std::uint8_t>(word.refusal);
            return 2;
        case Type::GuestCame:
        case Type::LetGo:
            out[1] = word.guest;
            return 2;
        case Type::GuestWent:
            out[1] = word.guest;
            out[2] = word.goodbye ? 1 : 0;
            return 3;
    }
    return 0;
}

bool RelayWire::decode(const std::uint8_t* data, std::size_t size, Word& word) {
    if (size == 0) return false;
    word = Word{};
    word.type = static_cast<Type>(data[0]);
    auto codeAt = [&](std::size_t at) {
        for (std::size_t i = 0; i < kCodeLength; ++i) {
            const char c = static_cast<char>(data[at + i]);
            if (!inAlphabet(c)) return false;
            word.code[i] = c;
        }
        return true;
    };
    switch (word.type) {
        case Type::Open:
            // Another version's Open or Enter still decodes, to be refused.
            if (size < 2) return false;
            word.version = data[1];
            return word.version != kVersion || size == 2;
        case Type::Enter:
            if (size < 2) return false;
            word.version = data[1];
            if (word.version != kVersion) return true;
            return size == 2 + kCodeLength && codeAt(2);
        case Type::Opened:
            return size == 1 + kCodeLength && codeAt(1);
        case Type::Entered:
            return size == 1;
        case Type::Refused:
            if (size != 2 || data[1] > kLastRefusal) return false;
            word.refusal = static_cast<Refusal>(data[1]);
            return true;
        case Type::GuestCame:
        case Type::LetGo:
            if (size != 2 || data[1] >= kMaxGuests) return false;
            word.guest = data[1];
            return true;
        case Type::GuestWent:
            if (size != 3 || data[1] >= kMaxGuests || data[2] > 1) return false;
            word.guest = data[1];
            word.goodbye = data[2] == 1;
            return true;
    }
    return false;
}

bool RelayWire::isCode(const std::string& text) {
    if (text.size() != kCodeLength) return false;
    for (char c : text) {
        if (!inAlphabet(c)) return false;
    }
    return true;
}

std::string RelayWire::refusalText(Refusal refusal) {
    switch (refusal) {
        case Refusal::NoSuchRoom:
            return "The relay has no room with that code.";
        case Refusal::RoomFull:
            return "That room is full.";
        case Refusal::RelayFull:
            return "The relay is full: it holds as many rooms as it can.";
        case Refusal::TooManyGuesses:
            return "Too many wrong codes from this address: wait a minute.";
        case Refusal::OtherVersion:
            return "The relay speaks another version.";
        case Refusal::RoomClosed:
            return "That room has closed.";
        case Refusal::TooManyRooms:
            return "This address has as many rooms open on the relay as it may.";
    }
    return "The relay turned this machine away.";
}

}  // namespace net
