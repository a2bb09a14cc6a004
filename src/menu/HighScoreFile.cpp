#include "menu/HighScoreFile.h"

#include <string>

#include "app/PlayerSetup.h"
#include "errors/ErrorLogger.h"
#include "menu/DataFile.h"
#include "menu/HighScoreTable.h"
#include "platform/File.h"
#include "resources/TextFileReader.h"

namespace highScoreFile {

const char kFileName[] = "Quadrill.dat";

namespace {

const char kNewFileName[] = "Quadrill.dat.new";

void setPlayers(PlayerSetup& setup, std::uint8_t bits) {
    for (int c = 0; c < 4; ++c) setup.bHuman[c] = (bits >> c) & 1;
}

}  // namespace

bool read(HighScoreTable& table, PlayerSetup& setup) {
    DataFile file;
    if (!file.openRead(kFileName)) return false;
    setPlayers(setup, file.readByte());
    for (int row = 0; row < table.rows(); ++row) {
        const std::string name = file.readString();
        table.setName(row, name.c_str());
        table.setScore(row, static_cast<std::int16_t>(file.readWord()));
    }
    file.close();
    return true;
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

bool write(const HighScoreTable& table, std::uint8_t playerBits) {
    DataFile file;
    if (!file.createBinary(kNewFileName)) return false;
    file.writeByte(playerBits & 0x0F);
    for (int row = 0; row < table.rows(); ++row) {
        file.writeString(table.name(row));
        file.writeWord(static_cast<std::uint16_t>(table.score(row)));
    }
    const bool written = file.close() && !file.writeFailed();
    if (!written || !platform::renameFile(kNewFileName, kFileName)) {
        platform::removeFile(kNewFileName);
        return false;
    }
    return true;
}

std::uint8_t playerBitsOf(const PlayerSetup& setup) {
    std::uint8_t bits = 0;
    for (int c = 0; c < 4; ++c) {
        if (setup.bHuman[c]) bits |= static_cast<std::uint8_t>(1u << c);
    }
    return bits;
}

}  // namespace highScoreFile
