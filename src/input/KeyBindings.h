#pragma once
#include <cstdint>
#include <string>

// Which two physical keys move each colour's paddle, by PC scan code
// (green, yellow, red, blue; first up or left, second down or right). The
// match only ever sees the default keys' bits, so a colour moved to other
// keys is mapped back onto its default keys before the match reads them:
// replays and the other machines of a room never learn which keys were used.
class KeyBindings {
public:
    static constexpr int kColours = 4;
    static constexpr int kNobody = -1;

    KeyBindings();

    std::uint8_t key(int colour, int which) const;
    static std::uint8_t defaultKey(int colour, int which);
    bool isDefault(int colour) const;
    bool allDefault() const;

    // The caller has made sure the keys are free and not the game's own.
    void set(int colour, std::uint8_t first, std::uint8_t second);
    void reset(int colour);
    void resetAll();

    // The colour whose paddle the key moves, kNobody when none.
    int holderOf(std::uint8_t key) const;
    // Keys the game itself answers (Escape, Enter, Space and Tab in the
    // menu, P and Pause, M, F11, Backspace): never a paddle's.
    static bool isGameKey(std::uint8_t key);

    // Rewrites the 256-byte key state in place: each colour's default keys
    // read as its chosen keys are held; nothing else changes.
    void apply(std::uint8_t* keys) const;

    // The text settings.ini keeps a colour's keys in: "36 38".
    std::string textOf(int colour) const;
    // False for anything but two different scan codes, neither the game's own.
    static bool parse(const std::string& text, std::uint8_t& first, std::uint8_t& second);
    // After reading a file: colours sharing a key are put back to their
    // defaults until no key is shared; a bit per colour put back.
    unsigned resolveClashes();

private:
    std::uint8_t aKeys[kColours][2];
};
