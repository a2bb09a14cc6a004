#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace net {

// What a machine and a relay say to each other about rooms, on a channel
// of their own: the game's messages go on the usual channels, the opener's
// with one byte in front that says which guest of the relay they are to or
// from. docs/network-protocol.md tells the layout.
struct RelayWire {
    static constexpr std::uint8_t kVersion = 1;
    static constexpr std::uint16_t kDefaultPort = 28251;
    // The channel of the relay's own words; 0 and 1 carry the game's.
    static constexpr std::uint8_t kChannel = 2;
    static constexpr std::size_t kCodeLength = 6;
    // Letters nobody misreads: no O (zero), no I or L (one).
    static constexpr char kAlphabet[] = "ABCDEFGHJKMNPQRSTUVWXYZ";
    static constexpr std::size_t kAlphabetSize = sizeof kAlphabet - 1;
    // The byte in front of every game message on the opener's link.
    static constexpr std::size_t kGuestHeaderBytes = 1;
    // Guests of a room are numbered below this.
    static constexpr int kMaxGuests = 255;

    enum class Type : std::uint8_t {
        Open = 1,       // machine to relay: a new room, please
        Enter = 2,      // machine to relay: the room with this code
        Opened = 3,     // relay to opener: the room's code
        Entered = 4,    // relay to guest: you are in; the opener hears you now
        Refused = 5,    // relay to machine: not in, and why
        GuestCame = 6,  // relay to opener: guest N is here
        GuestWent = 7,  // relay to opener: guest N went (said goodbye or not)
        LetGo = 8,      // opener to relay: guest N is to go
    };
    enum class Refusal : std::uint8_t {
        NoSuchRoom = 0,
        RoomFull = 1,
        RelayFull = 2,
        TooManyGuesses = 3,
        OtherVersion = 4,
        RoomClosed = 5,
        TooManyRooms = 6,
    };
    static constexpr std::uint8_t kLastRefusal = 6;

    // A decoded word; `code` for Enter and Opened, `guest` for the guests'.
    struct Word {
        Type type = Type::Open;
        std::uint8_t version = kVersion;
        char code[kCodeLength + 1] = {};
        std::uint8_t guest = 0;
        bool goodbye = false;
        Refusal refusal = Refusal::NoSuchRoom;
    };
    static constexpr std::size_t kLongestWord = 2 + kCodeLength;

    // Encodes into `out` (kLongestWord bytes at least): its length.
    static std::size_t encode(const Word& word, std::uint8_t* out);
    // False for anything that is not exactly one well-formed word.
    static bool decode(const std::uint8_t* data, std::size_t size, Word& word);

    static bool isCode(const std::string& text);
    // What a machine tells its player about a refusal.
    static std::string refusalText(Refusal refusal);
};

}  // namespace net
