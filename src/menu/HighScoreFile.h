#pragma once
#include <cstdint>
#include <string>

class ErrorLogger;
class HighScoreTable;
struct PlayerSetup;

// Quadrill.dat: one byte of player bits (bit c set when colour c is played
// by a person), then three rows of a zero-terminated name and a signed
// 16-bit little-endian score. No header, no padding. Where the file lives
// is dataFolders::highScorePath().
namespace highScoreFile {

enum class Found { File, NoFile, Unreadable };

// Fills the table and the players from the file at path. NoFile when there
// is none; Unreadable, with the reason, when something is there that cannot
// be read (then the table is to be filled from the defaults). A file that
// ends early gives zeros and short names.
Found read(const std::string& path, HighScoreTable& table, PlayerSetup& setup, std::string& reason);
// The built-in defaults, decoded the same way; 0 after reporting a missing
// table, 1 on success.
int readDefaults(HighScoreTable& table, PlayerSetup& setup, ErrorLogger& logger);
// The file's bytes for a table and the menu's Player boxes.
std::string encode(const HighScoreTable& table, std::uint8_t playerBits);
// Makes the file's folder if needed and saves the table the careful way
// (platform::saveFileSafely). False, with the reason, when the old file was
// left as it was.
bool write(const std::string& path, const HighScoreTable& table, std::uint8_t playerBits, std::string& reason);

// The first menu's reading: the file, or the defaults when there is none.
// A file that cannot be read is told to the player and the defaults are
// shown; keepOldFile is then set, and the file must not be written at the
// end, or the table in it would be lost. 0 when not even the defaults could
// be read.
int load(HighScoreTable& table, PlayerSetup& setup, ErrorLogger& logger, bool& keepOldFile);
// The save at the end of the program; a failure is told to the player once,
// with the path and the reason. A Quadrill.dat in the start folder that holds
// no table (larger than any, or bytes not laid out as one) is some other file
// under that name and is left as it is: load and save both use the data
// folder's then, and the save tells the player where the table went.
void save(const HighScoreTable& table, std::uint8_t playerBits, ErrorLogger& logger);

std::uint8_t playerBitsOf(const PlayerSetup& setup);

}  // namespace highScoreFile
