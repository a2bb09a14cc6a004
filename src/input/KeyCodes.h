#pragma once
#include <cstdint>

// Keys are read by their place on the keyboard, as PC scan codes, so the
// keys printed on the menu are the right ones on any keyboard layout.
namespace keys {
constexpr std::uint8_t DIK_ESCAPE = 0x01;
constexpr std::uint8_t DIK_TAB = 0x0F;
constexpr std::uint8_t DIK_Q = 0x10;
constexpr std::uint8_t DIK_A = 0x1E;
constexpr std::uint8_t DIK_C = 0x2E;
constexpr std::uint8_t DIK_V = 0x2F;
constexpr std::uint8_t DIK_SPACE = 0x39;
constexpr std::uint8_t DIK_PAUSE = 0xC5;
constexpr std::uint8_t DIK_UP = 0xC8;
constexpr std::uint8_t DIK_PRIOR = 0xC9;
constexpr std::uint8_t DIK_LEFT = 0xCB;
constexpr std::uint8_t DIK_RIGHT = 0xCD;
constexpr std::uint8_t DIK_DOWN = 0xD0;
constexpr std::uint8_t DIK_NEXT = 0xD1;

// A key is down while bit 7 of its byte is set.
inline bool isDown(const std::uint8_t* state, std::uint8_t key) { return (state[key] & 0x80) != 0; }
}  // namespace keys
