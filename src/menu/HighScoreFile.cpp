#include "menu/HighScoreFile.h"

#include <cstdio>
#include <string>

#include "combat/PlayerSetup.h"
#include "errors/ErrorLogger.h"
#include "menu/DataFile.h"
#include "menu/HighScoreTable.h"
#include "platform/File.h"
#include "platform/SafeSave.h"
#include "resources/TextFileReader.h"
#include "settings/DataFolders.h"

namespace highScoreFile {

namespace {

constexpr int kRows = 3;
constexpr std::size_t kLongestName = HighScoreTable::kLongestName;
// Three names of five letters, their ends and their scores, and the byte of
// players.
constexpr std::size_t kLargestTable = 1 + kRows * (kLongestName + 1 + 2);

void setPlayers(PlayerSetup& setup, std::uint8_t bits) {
    for (int c = 0; c < 4; ++c) setup.bHuman[c] = (bits >> c) & 1;
}

// Exactly the layout the table is written in: a player byte, then three
// names of at most five letters, each ended and followed by its score.
bool readsAsTable(const std::string& bytes) {
    std::size_t at = 1;
    for (int row = 0; row < kRows; ++row) {
        const std::size_t end = bytes.find('\0', at);
        if (end == std::string::npos || end - at > kLongestName) return false;
        for (std::size_t i = at; i < end; ++i) {
            const auto c = static_cast<unsigned char>(bytes[i]);
            if (c < 0x20 || c == 0x7F) return false;
        }
        at = end + 1 + 2;
    }
    return at == bytes.size();
}

// True when path holds a file that could be read and is not a table (nor
// empty): somebody's file that only bears the name. A file that cannot be
// read is told as such when the table is loaded, and kept.
bool holdsSomethingElse(const std::string& path) {
    std::string bytes;
    std::string ignored;
    const platform::ReadResult read = platform::readWholeFile(path, kLargestTable + 1, bytes, ignored);
    return read == platform::ReadResult::Read && !bytes.empty() && !readsAsTable(bytes);
}

// Where the table is read from and saved to. A start-folder file that holds
// no table is passed over for the data folder's, with its path in passedOver.
// The data folder is the game's own: what is there is the game's table,
// garbled or not, and is written over.
std::string tablePath(std::string& passedOver) {
    passedOver.clear();
    const std::string chosen = dataFolders::highScorePath();
    const std::string inDataFolder = dataFolders::dataDir() + "/Quadrill.dat";
    if (chosen == inDataFolder || !holdsSomethingElse(chosen)) return chosen;
    passedOver = chosen;
    return inDataFolder;
}

}  // namespace

Found read(const std::string& path, HighScoreTable& table, PlayerSetup& setup, std::string& reason) {
    DataFile file;
    if (!file.openRead(path.c_str())) {
        if (file.isMissing()) return Found::NoFile;
        reason = file.failure();
        return Found::Unreadable;
    }
    setPlayers(setup, file.readByte());
    for (int row = 0; row < table.rows(); ++row) {
        const std::string name = file.readString();
        table.setName(row, name.c_str());
        table.setScore(row, static_cast<std::int16_t>(file.readWord()));
    }
    if (file.readFailed()) {
        reason = file.failure();
        return Found::Unreadable;
    }
    file.close();
    return Found::File;
}

int readDefaults(HighScoreTable& table, PlayerSetup& setup, ErrorLogger& logger) {
    TextFileReader reader;
    const int result = reader.openText("txtHiScore", "TextFile");
    if (result != 0) {
        logger.reportMissingResource("txtHiScore", result);
        return 0;
    }
    setPlayers(setup, reader.readByte());
    for (int row = 0; row < table.rows(); ++row) {
        const std::string name = reader.readString();
        table.setName(row, name.c_str());
        table.setScore(row, static_cast<std::int16_t>(reader.readInt()));
    }
    reader.close();
    return 1;
}

std::string encode(const HighScoreTable& table, std::uint8_t playerBits) {
    std::string bytes(1, static_cast<char>(playerBits & 0x0F));
    for (int row = 0; row < table.rows(); ++row) {
        bytes += table.name(row);
        bytes += '\0';
        const auto score = static_cast<std::uint16_t>(table.score(row));
        bytes += static_cast<char>(score & 0xFF);
        bytes += static_cast<char>(score >> 8);
    }
    return bytes;
}

bool write(const std::string& path, const HighScoreTable& table, std::uint8_t playerBits, std::string& reason) {
    return dataFolders::makeFolders(platform::folderOf(path), reason) &&
           platform::saveFileSafely(path, encode(table, playerBits), reason);
}

int load(HighScoreTable& table, PlayerSetup& setup, ErrorLogger& logger, bool& keepOldFile) {
    std::string passedOver;
    const std::string path = tablePath(passedOver);
    if (!passedOver.empty()) {
        std::fprintf(stderr, "quadrill: %s holds no table of best results and is left as it is; the table is kept in %s\n",
                     passedOver.c_str(), path.c_str());
    }
    std::string reason;
    const Found found = read(path, table, setup, reason);
    keepOldFile = found == Found::Unreadable;
    if (keepOldFile) {
        logger.reportText(0,
                          "Could not read the high scores from " + path + ": " + reason +
                              ". The built-in table is shown, and the file will be left as it is.",
                          reason);
    }
    return found == Found::File ? 1 : readDefaults(table, setup, logger);
}

void save(const HighScoreTable& table, std::uint8_t playerBits, ErrorLogger& logger) {
    std::string passedOver;
    const std::string path = tablePath(passedOver);
    std::string reason;
    if (write(path, table, playerBits, reason)) {
        if (!passedOver.empty()) {
            logger.reportText(0,
                              "The high scores were saved to " + path + ", not to " + passedOver +
                                  ", which holds something other than a table of best results and was left as it is.",
                              "not a table");
        }
        return;
    }
    logger.reportText(0, "Could not save the high scores to " + path + ": " + reason + ". The old file, if any, was left as it was.",
                      reason);
}

std::uint8_t playerBitsOf(const PlayerSetup& setup) {
    std::uint8_t bits = 0;
    for (int c = 0; c < 4; ++c) {
        if (setup.bHuman[c]) bits |= static_cast<std::uint8_t>(1u << c);
    }
    return bits;
}

}  // namespace highScoreFile
