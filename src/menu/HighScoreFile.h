#pragma once
#include <cstdint>

class ErrorLogger;
class HighScoreTable;
struct PlayerSetup;

// Quadrill.dat: one byte of player bits (bit c set when colour c is played
// by a person), then three rows of a zero-terminated name and a signed
// 16-bit little-endian score. No header, no padding.
namespace highScoreFile {

extern const char kFileName[];

// Fills the table and the players from the file; false when there is no
// file to open. A file that ends early gives zeros and short names.
bool read(HighScoreTable& table, PlayerSetup& setup);
// The built-in defaults, decoded the same way; 0 after reporting a missing
// table, 1 on success.
int readDefaults(HighScoreTable& table, PlayerSetup& setup, ErrorLogger& logger);
// Writes a new file beside the old one and renames it over it, so the old
// scores stay whole if the disk fills up or the program dies half way.
// False when nothing was replaced.
bool write(const HighScoreTable& table, std::uint8_t playerBits);

std::uint8_t playerBitsOf(const PlayerSetup& setup);

}  // namespace highScoreFile
