#include "menu/HighScoreFile.h"

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

void setPlayers(PlayerSetup& setup, std::uint8_t bits) {
    for (int c = 0; c < 4; ++c) setup.bHuman[c] = (bits >> c) & 1;
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
    const std::string path = dataFolders::highScorePath();
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
    const std::string path = dataFolders::highScorePath();
    std::string reason;
    if (write(path, table, playerBits, reason)) return;
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
