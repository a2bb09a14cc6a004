#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/Status.h"
#include "platform/SystemInfo.h"

// Every failure is shown in a message box whose caption and text come by
// number from the message table, and written to logError.txt (in the state
// folder of dataFolders) together with a description of the machine. The logger is the first object the program
// makes and the last it destroys.
class ErrorLogger {
public:
    ErrorLogger();
    ~ErrorLogger() = default;
    ErrorLogger(const ErrorLogger&) = delete;
    ErrorLogger& operator=(const ErrorLogger&) = delete;

    // Loads the message table and takes the machine's description; 0 when
    // the table cannot be opened (nothing is shown: there is no table yet).
    int init();
    void enableLog();

    void showMessage(int captionId, int textId, std::initializer_list<const char*> arguments = {});
    void writeLog(const char* description, int textId, std::initializer_list<const char*> arguments = {});
    void writeLogById(int descriptionId, int textId, std::initializer_list<const char*> arguments = {});

    // The display device tells what it runs on each time it starts. The
    // logger keeps only that text, so it can never reach into a display that
    // has been released for a rebuild or at the end.
    void setDisplayInterface(const char* deviceDescription);

    // The two reports every failure site makes. A failing platform call:
    // caption and text ids, an optional name placed before the status name
    // (the bitmap of message 205), the status description in the log.
    void reportStatus(int captionId, int textId, platform::Status status, const char* name = nullptr);
    // A text table that would not open: message 3 with its name, the
    // reader's code (1000 to 1002) as the log's description.
    void reportMissingResource(const char* resourceName, int readerCode);
    // A failure the table has no text for, because it names a file and the
    // system's reason: shown under a caption of the table, logged with the
    // reason as the description.
    void reportText(int captionId, const std::string& message, const std::string& description);

    // The table text of an id, or of the first row for an unknown id.
    const std::string& text(int id) const;

private:
    void gatherSystemInformation();
    void writeReport(const std::string& description, const std::string& error);

    std::int32_t bLogEnabled;
    std::int32_t cMessages;
    std::vector<std::int32_t> pIds;
    std::vector<std::string> ppTexts;

    std::string szVendor;
    std::string szProcessorName;
    std::uint32_t dwMHz;
    platform::MemoryStatus msStart;
    // The platform cannot tell video memory; the figures stay 0 and are
    // printed so that the report keeps its layout.
    std::uint32_t dwVidTotal, dwVidFree;
    std::int32_t iVidLoad;
    std::uint32_t dwPrimTotal, dwPrimFree;
    std::int32_t iPrimLoad;
    std::uint32_t dwOffTotal, dwOffFree;
    std::int32_t iOffLoad;
    std::string szDeviceDescription;
    std::string szSystem;
    std::string szServicePack;
};
