#include "support/ReportExpectations.h"

#include <gtest/gtest.h>

#include "errors/StatusText.h"
#include "platform/MessageBox.h"
#include "support/ScratchDirectory.h"

void expectStatusReported(const ScratchDirectory& scratch, const char* caption, const std::string& text,
                          platform::Status status) {
    const auto& messages = platform::testing::recordedMessages();
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ(caption, messages[0].caption);
    EXPECT_EQ(text + "\r\nError: " + statusName(status), messages[0].text);
    const std::string log = scratch.read("logError.txt");
    EXPECT_NE(std::string::npos, log.find("Error: " + text + "\r\nError: " + statusName(status) +
                                          "\r\n\r\nDescription: " + statusDescription(status)))
        << log;
}
