#pragma once
#include <cstdint>

#include "input/KeyCodes.h"

// The nine keys a match reads: two per colour and Escape. Whatever drives a
// match (the keyboard, a replay, later the network) comes down to these
// bits, nine to a frame: colour c's first key is bit 2c, its second bit
// 2c + 1, Escape bit 8.
namespace matchKeys {

// Per colour, the key that moves the paddle up or left, then the one that
// moves it down or right: the keys printed beside each colour on the menu.
constexpr std::uint8_t kPaddleKeys[4][2] = {
    {keys::DIK_Q, keys::DIK_A},
    {keys::DIK_LEFT, keys::DIK_RIGHT},
    {keys::DIK_PRIOR, keys::DIK_NEXT},
    {keys::DIK_C, keys::DIK_V},
};
constexpr std::uint16_t kEscapeBit = 1u << 8;
constexpr std::uint16_t kAllBits = 0x1FF;

// The bits of the colours people play, and Escape, which anybody may press.
std::uint16_t peopleMask(const std::uint8_t (&human)[4]);
// The nine keys of a 256-byte key state, only those of people's colours.
std::uint16_t pack(const std::uint8_t* keyState, const std::uint8_t (&human)[4]);
// A 256-byte key state with exactly these keys down.
void unpack(std::uint16_t bits, std::uint8_t (&keyState)[256]);

}  // namespace matchKeys
