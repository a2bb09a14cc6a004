#pragma once
#include <string>
#include <vector>

namespace platform {

// A modal error box with an OK button and no owner window. Where no display
// can show one, the caption and text go to standard error instead. Either
// way the system's error text (lastSystemError) is gone afterwards.
void showErrorMessage(const char* caption, const char* text);

namespace testing {
struct ShownMessage {
    std::string caption;
    std::string text;
};
// While recording, messages are kept here instead of being shown.
void recordMessages(bool on);
const std::vector<ShownMessage>& recordedMessages();
void clearRecordedMessages();
}  // namespace testing

}  // namespace platform
