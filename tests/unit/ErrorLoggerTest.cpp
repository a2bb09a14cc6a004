#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "errors/ErrorLogger.h"
#include "errors/MessageFormat.h"
#include "errors/StatusText.h"
#include "platform/File.h"
#include "platform/MessageBox.h"
#include "platform/ResourceTable.h"
#include "support/PlatformFaults.h"
#include "support/ScopedEnvironment.h"
#include "support/ScratchDirectory.h"

namespace {

using platform::testing::recordedMessages;

class ErrorLoggerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(1, logger.init()); }

    PlatformFaults faults;
    ScratchDirectory scratch;
    ErrorLogger logger;
};

TEST_F(ErrorLoggerTest, SurfaceMessageHasCaptionAndTwoLines) {
    logger.showMessage(200, 205, {"picMisc", "DDERR_WRONGMODE"});
    ASSERT_EQ(1u, recordedMessages().size());
    EXPECT_EQ("DirectDraw error!", recordedMessages()[0].caption);
    EXPECT_EQ("Unable to create off screen surface for \"picMisc\"!\r\nError: DDERR_WRONGMODE",
              recordedMessages()[0].text);
}

TEST_F(ErrorLoggerTest, ResourceMessageAndUnknownIdsFallBackToTheFirstRow) {
    logger.showMessage(0, 3, {"txtMenu"});
    logger.showMessage(777, 778);
    ASSERT_EQ(2u, recordedMessages().size());
    EXPECT_EQ("General error!", recordedMessages()[0].caption);
    EXPECT_EQ("Unable to open internal file: \"txtMenu\"!", recordedMessages()[0].text);
    EXPECT_EQ("General error!", recordedMessages()[1].caption);
    EXPECT_EQ("General error!", recordedMessages()[1].text);
}

TEST_F(ErrorLoggerTest, LongResultIsCutTo199Characters) {
    const std::string longName(400, 'x');
    logger.showMessage(0, 3, {longName.c_str()});
    ASSERT_EQ(1u, recordedMessages().size());
    const std::string& text = recordedMessages()[0].text;
    EXPECT_EQ(199u, text.size());
    EXPECT_EQ(0u, text.find("Unable to open internal file: \"xxx"));
}

TEST(MessageFormatTest, OnlyStringPlacesAreFilled) {
    EXPECT_EQ("a b %d 50% c", formatMessage("a %s %d 50%% %s", {"b", "c"}, 200));
    // Too few arguments leave the place empty instead of reading past them.
    EXPECT_EQ("[] []", formatMessage("[%s] [%s]", {}, 200));
    EXPECT_EQ("ab", formatMessage("abcdef", {}, 3));
}

TEST(StatusTextTest, KnownCodesHaveNamesAndDescriptionsOthersDoNot) {
    const platform::Status known[] = {
        platform::status::E_POINTER,        platform::status::E_INVALIDARG,   platform::status::E_FAIL,
        platform::status::DDERR_WRONGMODE,  platform::status::DDERR_SURFACELOST,
        platform::status::DDERR_EXCLUSIVEMODEALREADYSET, platform::status::DDERR_OUTOFVIDEOMEMORY,
        platform::status::DIERR_NOTACQUIRED, platform::status::DIERR_INPUTLOST,
        platform::status::DSERR_BUFFERLOST, platform::status::DSERR_NODRIVER};
    for (platform::Status status : known) {
        EXPECT_STRNE("Unknown", statusName(status)) << std::hex << status;
        EXPECT_STRNE("n/a", statusDescription(status)) << std::hex << status;
    }
    EXPECT_STREQ("DDERR_WRONGMODE", statusName(platform::code(0x8876024B)));
    EXPECT_STREQ("DSERR_BUFFERLOST", statusName(platform::code(0x88780096)));
    EXPECT_STREQ("Unknown", statusName(platform::code(0x80001234)));
    EXPECT_STREQ("n/a", statusDescription(platform::code(0x80001234)));
}

// The machine's own figures differ from run to run; everything else is fixed.
std::string masked(std::string report) {
    const std::pair<const char*, const char*> rules[] = {
        {"(Vendor name:    )[^\r]*", "$1#"},
        {"(Processor name: )[^\r]*", "$1#"},
        {"(Speed:          )[0-9]+", "$1#"},
        {"Load: [0-9]+%\tTotal: [0-9]+\tAvailable: [0-9]+", "Load: #%\tTotal: #\tAvailable: #"},
        {"(Version: )[^\r]*", "$1#"},
    };
    for (const auto& rule : rules) report = std::regex_replace(report, std::regex(rule.first), rule.second);
    return report;
}

TEST_F(ErrorLoggerTest, ReportHasTheExactLayout) {
    logger.enableLog();
    logger.reportStatus(200, 205, platform::status::DDERR_WRONGMODE, "picMisc");
    const std::string hyphens(90, '-');
    const std::string memory = "\tLoad: #%\tTotal: #\tAvailable: #\r\n";
    const std::string video = "[Start status:]\r\n" + memory + "[Actual status:]\r\n" + memory + "\r\n";
    const std::string expected =
        "Quadrill v1.0 Error Log\r\n\r\n" + hyphens + "\r\n" +
        "CPU info:\r\n\tVendor name:    #\r\n\tProcessor name: #\r\n\tSpeed:          #\r\n\r\n" +
        "Memory info:\r\n" + video + "Video info:\r\n\tDevice: not yet detected\r\n\r\n" +
        "Video memory info:\r\n[plain]\r\n" + video + "[DDSCAPS_PRIMARYSURFACE]\r\n" + video +
        "[DDSCAPS_OFFSCREENPLAIN]\r\n" + video + "Windows info:\r\n\tVersion: #\r\n" + hyphens + "\r\n\r\n" +
        "Error: Unable to create off screen surface for \"picMisc\"!\r\nError: DDERR_WRONGMODE\r\n\r\n"
        "Description: The display mode has changed since the surface was created.";
    EXPECT_EQ(expected, masked(scratch.read("logError.txt")));
    // The message box came first, with the same text.
    ASSERT_EQ(1u, recordedMessages().size());
    EXPECT_EQ("DirectDraw error!", recordedMessages()[0].caption);
}

TEST_F(ErrorLoggerTest, ReportShowsTheDisplayOnceKnownAndTheMachine) {
    logger.enableLog();
    logger.setDisplayInterface("opengl on x11");
    logger.writeLogById(1000, 3, {"txtGame"});
    const std::string report = scratch.read("logError.txt");
    EXPECT_NE(std::string::npos, report.find("\tDevice: opengl on x11\r\n"));
    EXPECT_NE(std::string::npos, report.find("Error: Unable to open internal file: \"txtGame\"!\r\n\r\n"
                                             "Description: Unable to find resource"));
    // The real machine's figures are there, not left empty.
    EXPECT_EQ(std::string::npos, report.find("Total: 0\tAvailable: 0\r\n[Actual status:]\r\n\tLoad: 0%\tTotal: 0\tAvailable: 0\r\n\r\nVideo info"));
    EXPECT_EQ(std::string::npos, report.find("Version: Unknown system"));
}

TEST_F(ErrorLoggerTest, OnlyTheLastReportStaysAndNoneBeforeTheLogIsEnabled) {
    logger.writeLog("first", 1);
    EXPECT_FALSE(scratch.exists("logError.txt"));
    logger.enableLog();
    logger.writeLog("first", 1);
    logger.writeLog("second", 2);
    const std::string report = scratch.read("logError.txt");
    EXPECT_EQ(std::string::npos, report.find("first"));
    EXPECT_EQ(std::string::npos, report.find("register"));
    const std::string ending = "Error: Unable to create game window!\r\n\r\nDescription: second";
    ASSERT_GE(report.size(), ending.size());
    EXPECT_EQ(ending, report.substr(report.size() - ending.size()));
}

TEST_F(ErrorLoggerTest, ReportThatCannotBeWrittenIsDroppedSilently) {
    logger.enableLog();
    platform::testing::failCreate(true);
    logger.reportMissingResource("txtMenu", 1001);
    EXPECT_FALSE(scratch.exists("logError.txt"));
    ASSERT_EQ(1u, recordedMessages().size());
    EXPECT_EQ("Unable to open internal file: \"txtMenu\"!", recordedMessages()[0].text);
}

TEST_F(ErrorLoggerTest, TheLogGoesToTheStateFolderWhereverTheGameRuns) {
    ScopedEnvironment environment;
    environment.unset("QUADRILL_DATA_DIR");
    environment.set("XDG_STATE_HOME", scratch.path() + "/state");
    logger.enableLog();
    logger.reportText(0, "Could not save the high scores to /x/Quadrill.dat: Permission denied.", "Permission denied");
    EXPECT_FALSE(scratch.exists("logError.txt"));
    const std::string report = scratch.read("state/quadrill/logError.txt");
    EXPECT_NE(std::string::npos, report.find("Error: Could not save the high scores to /x/Quadrill.dat: "
                                             "Permission denied.\r\n\r\nDescription: Permission denied"))
        << report;
    ASSERT_EQ(1u, recordedMessages().size());
    EXPECT_EQ("General error!", recordedMessages()[0].caption);
    EXPECT_EQ("Could not save the high scores to /x/Quadrill.dat: Permission denied.", recordedMessages()[0].text);
}

TEST(ErrorLoggerInitTest, MissingMessageTableFailsWithoutShowingAnything) {
    PlatformFaults faults;
    platform::testing::setResourceFault("txtErrors", platform::ResourceResult::NotFound);
    ErrorLogger logger;
    EXPECT_EQ(0, logger.init());
    EXPECT_TRUE(recordedMessages().empty());
}

}  // namespace
