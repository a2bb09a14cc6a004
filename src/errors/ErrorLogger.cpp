#include "errors/ErrorLogger.h"

#include <cstdio>

#include "errors/MessageFormat.h"
#include "errors/StatusText.h"
#include "menu/DataFile.h"
#include "platform/MessageBox.h"
#include "resources/TextFileReader.h"
#include "settings/DataFolders.h"

namespace {

constexpr std::size_t kMessageCapacity = 200;
constexpr std::size_t kLogTextCapacity = 500;
constexpr std::size_t kLogErrorCapacity = 512;
constexpr std::size_t kInfoCapacity = 100;
constexpr std::size_t kDeviceCapacity = 512;
// A table larger than this is not ours; reading on would only make zeros.
constexpr std::int32_t kMaxMessages = 1024;

const char kHyphens[] =
    "------------------------------------------------------------------------------------------";

std::string cut(const std::string& text, std::size_t capacity) {
    return text.size() < capacity ? text : text.substr(0, capacity - 1);
}

std::int32_t loadOf(std::uint32_t total, std::uint32_t available) {
    if (total == 0) return 0;
    return 100 - static_cast<std::int32_t>(static_cast<double>(available) / total * 100);
}

std::string memoryLine(std::int32_t load, unsigned long long total, unsigned long long available) {
    char line[160];
    std::snprintf(line, sizeof line, "\tLoad: %d%%\tTotal: %llu\tAvailable: %llu\r\n", load, total, available);
    return line;
}

}  // namespace

ErrorLogger::ErrorLogger()
    : bLogEnabled(0),
      cMessages(0),
      dwMHz(0),
      dwVidTotal(0),
      dwVidFree(0),
      iVidLoad(0),
      dwPrimTotal(0),
      dwPrimFree(0),
      iPrimLoad(0),
      dwOffTotal(0),
      dwOffFree(0),
      iOffLoad(0),
      szDeviceDescription("not yet detected") {}

int ErrorLogger::init() {
    TextFileReader reader;
    if (reader.openText("txtErrors", "TextFile") != 0) {
        reader.close();
        return 0;
    }
    cMessages = reader.readInt();
    if (cMessages < 0) cMessages = 0;
    if (cMessages > kMaxMessages) cMessages = kMaxMessages;
    pIds.assign(static_cast<std::size_t>(cMessages), 0);
    ppTexts.assign(static_cast<std::size_t>(cMessages), std::string());
    for (std::int32_t i = 0; i < cMessages; ++i) {
        pIds[static_cast<std::size_t>(i)] = reader.readInt();
        ppTexts[static_cast<std::size_t>(i)] = reader.readString();
    }
    gatherSystemInformation();
    reader.close();
    return 1;
}

void ErrorLogger::gatherSystemInformation() {
    const platform::ProcessorInfo processor = platform::processorInfo();
    szVendor = cut(processor.vendor, kInfoCapacity);
    szProcessorName = cut(processor.name, kInfoCapacity);
    dwMHz = processor.mhz;
    msStart = platform::memoryStatus();
    szSystem = "Unknown system";
    platform::SystemName system;
    if (platform::systemName(system)) {
        szSystem = cut(system.name, kInfoCapacity);
        szServicePack = cut(system.release, kInfoCapacity);
    }
}

void ErrorLogger::enableLog() { bLogEnabled = 1; }

const std::string& ErrorLogger::text(int id) const {
    static const std::string kNothing;
    for (std::size_t i = 0; i < pIds.size(); ++i) {
        if (pIds[i] == id) return ppTexts[i];
    }
    return ppTexts.empty() ? kNothing : ppTexts.front();
}

void ErrorLogger::showMessage(int captionId, int textId, std::initializer_list<const char*> arguments) {
    const std::string message = formatMessage(text(textId).c_str(), arguments, kMessageCapacity);
    platform::showErrorMessage(text(captionId).c_str(), message.c_str());
}

void ErrorLogger::writeLog(const char* description, int textId, std::initializer_list<const char*> arguments) {
    writeReport(description ? description : "", formatMessage(text(textId).c_str(), arguments, kLogTextCapacity));
}

void ErrorLogger::writeLogById(int descriptionId, int textId, std::initializer_list<const char*> arguments) {
    writeReport(text(descriptionId), formatMessage(text(textId).c_str(), arguments, kLogTextCapacity));
}

void ErrorLogger::setDisplayInterface(const char* deviceDescription) {
    szDeviceDescription = cut(deviceDescription ? deviceDescription : "", kDeviceCapacity);
    dwVidTotal = dwVidFree = dwPrimTotal = dwPrimFree = dwOffTotal = dwOffFree = 0;
    iVidLoad = loadOf(dwVidTotal, dwVidFree);
    iPrimLoad = loadOf(dwPrimTotal, dwPrimFree);
    iOffLoad = loadOf(dwOffTotal, dwOffFree);
}

void ErrorLogger::reportStatus(int captionId, int textId, platform::Status status, const char* name) {
    const char* symbol = statusName(status);
    if (name != nullptr) {
        showMessage(captionId, textId, {name, symbol});
        writeLog(statusDescription(status), textId, {name, symbol});
    } else {
        showMessage(captionId, textId, {symbol});
        writeLog(statusDescription(status), textId, {symbol});
    }
}

void ErrorLogger::reportMissingResource(const char* resourceName, int readerCode) {
    showMessage(0, 3, {resourceName});
    writeLogById(readerCode, 3, {resourceName});
}

void ErrorLogger::reportText(int captionId, const std::string& message, const std::string& description) {
    platform::showErrorMessage(text(captionId).c_str(), message.c_str());
    writeReport(description, cut(message, kLogTextCapacity));
}

void ErrorLogger::writeReport(const std::string& description, const std::string& error) {
    if (!bLogEnabled) return;
    // A log that cannot be written is dropped: the message box has told
    // the player already.
    std::string ignored;
    if (!dataFolders::makeFolders(dataFolders::stateDir(), ignored)) return;
    DataFile file;
    if (!file.createText(dataFolders::logPath().c_str())) return;

    char piece[600];
    std::snprintf(piece, sizeof piece, "%s v%d.%d Error Log\r\n\r\n", "Quadrill", 1, 0);
    file.writeString(piece);
    file.writeString(kHyphens);
    file.writeString("\r\n");
    file.writeString("CPU info:\r\n");
    std::snprintf(piece, sizeof piece, "\tVendor name:    %s\r\n\tProcessor name: %s\r\n\tSpeed:          %u\r\n\r\n",
                  szVendor.c_str(), szProcessorName.c_str(), dwMHz);
    file.writeString(piece);

    file.writeString("Memory info:\r\n");
    const platform::MemoryStatus now = platform::memoryStatus();
    file.writeString("[Start status:]\r\n");
    file.writeString(memoryLine(static_cast<std::int32_t>(msStart.loadPercent), msStart.totalBytes, msStart.availableBytes));
    file.writeString("[Actual status:]\r\n");
    file.writeString(memoryLine(static_cast<std::int32_t>(now.loadPercent), now.totalBytes, now.availableBytes));
    file.writeString("\r\n");

    file.writeString("Video info:\r\n");
    std::snprintf(piece, sizeof piece, "\tDevice: %s\r\n\r\n", szDeviceDescription.c_str());
    file.writeString(piece);

    // The platform has no way to ask for video memory, now or at start: the
    // figures are zeros, printed so that the report keeps its layout.
    file.writeString("Video memory info:\r\n");
    const struct {
        const char* heading;
        std::int32_t load;
        std::uint32_t total;
        std::uint32_t available;
    } groups[] = {
        {"[plain]\r\n", iVidLoad, dwVidTotal, dwVidFree},
        {"[DDSCAPS_PRIMARYSURFACE]\r\n", iPrimLoad, dwPrimTotal, dwPrimFree},
        {"[DDSCAPS_OFFSCREENPLAIN]\r\n", iOffLoad, dwOffTotal, dwOffFree},
    };
    for (const auto& group : groups) {
        file.writeString(group.heading);
        file.writeString("[Start status:]\r\n");
        file.writeString(memoryLine(group.load, group.total, group.available));
        file.writeString("[Actual status:]\r\n");
        file.writeString(memoryLine(loadOf(0, 0), 0, 0));
        file.writeString("\r\n");
    }

    file.writeString("Windows info:\r\n");
    std::snprintf(piece, sizeof piece, "\tVersion: %s %s\r\n", szSystem.c_str(), szServicePack.c_str());
    file.writeString(piece);
    file.writeString(kHyphens);
    file.writeString("\r\n\r\n");

    const std::string report = cut("Error: " + error + "\r\n\r\nDescription: " + description, kLogErrorCapacity);
    file.writeString(report.c_str());
    file.close();
}
