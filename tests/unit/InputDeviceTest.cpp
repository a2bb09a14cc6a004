#include <gtest/gtest.h>

#include <string>

#include "errors/ErrorLogger.h"
#include "errors/StatusText.h"
#include "input/InputDevice.h"
#include "input/Keyboard.h"
#include "platform/KeyboardTable.h"
#include "platform/MessageBox.h"
#include "support/PlatformFaults.h"
#include "support/ReportExpectations.h"
#include "support/ScratchDirectory.h"

namespace {

using platform::KeyboardStep;
using platform::testing::recordedMessages;
using namespace platform::status;

class InputDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(1, logger.init());
        logger.enableLog();
    }

    void expectReported(const std::string& text, platform::Status status) {
        expectStatusReported(scratch, "DirectInput error!", text, status);
    }

    PlatformFaults faults;
    ScratchDirectory scratch;
    ErrorLogger logger;
    InputDevice input;
    Keyboard keyboard;
};

TEST_F(InputDeviceTest, AFailedInputSystemIsLeftForTheApplicationToReport) {
    platform::testing::setKeyboardFault(KeyboardStep::InputSystem, E_OUTOFMEMORY);
    EXPECT_EQ(E_OUTOFMEMORY, input.create());
    EXPECT_FALSE(input.isCreated());
    EXPECT_TRUE(recordedMessages().empty());
    EXPECT_EQ(E_POINTER, input.createKeyboard(nullptr, &keyboard, logger));

    // What the application's start-up shows for it.
    logger.reportStatus(100, 101, E_OUTOFMEMORY);
    expectReported("Unable to create IDirectInput8 instance!", E_OUTOFMEMORY);
}

TEST_F(InputDeviceTest, EachFailingSetUpStepShowsAndLogsItsMessage) {
    const struct {
        KeyboardStep step;
        platform::Status status;
        const char* text;
    } steps[] = {
        {KeyboardStep::Device, DIERR_DEVICENOTREG, "Unable to create keyboard device!"},
        {KeyboardStep::DataFormat, E_INVALIDARG, "Unable to set keyboard data format!"},
        {KeyboardStep::CooperativeLevel, E_NOTIMPL, "Unable to set keyboard cooperative level!"},
        {KeyboardStep::Acquire, E_ACCESSDENIED, "Unable to acquire keyboard!"},
    };
    ASSERT_GE(input.create(), 0);
    for (const auto& step : steps) {
        SCOPED_TRACE(step.text);
        platform::testing::clearKeyboardFaults();
        platform::testing::clearRecordedMessages();
        platform::testing::setKeyboardFault(step.step, step.status);
        EXPECT_EQ(0, input.createKeyboard(nullptr, &keyboard, logger));
        expectReported(step.text, step.status);
        keyboard.release();
    }
}

TEST_F(InputDeviceTest, ADeviceMadeBeforeALaterStepFailedStaysUntilReleased) {
    ASSERT_GE(input.create(), 0);
    platform::testing::setKeyboardFault(KeyboardStep::CooperativeLevel, E_NOTIMPL);
    ASSERT_EQ(0, input.createKeyboard(nullptr, &keyboard, logger));
    EXPECT_NE(E_POINTER, keyboard.acquire());
    keyboard.release();
    EXPECT_EQ(E_POINTER, keyboard.acquire());

    // Without a device from the first step there is nothing to keep.
    platform::testing::setKeyboardFault(KeyboardStep::Device, DIERR_DEVICENOTREG);
    ASSERT_EQ(0, input.createKeyboard(nullptr, &keyboard, logger));
    EXPECT_EQ(E_POINTER, keyboard.acquire());
}

TEST_F(InputDeviceTest, ASuccessfulSetUpLeavesTheKeyboardAcquiredAndSaysNothing) {
    ASSERT_GE(input.create(), 0);
    ASSERT_EQ(1, input.createKeyboard(nullptr, &keyboard, logger));
    std::uint8_t state[256];
    EXPECT_EQ(S_OK, keyboard.getState(sizeof state, state));
    EXPECT_TRUE(recordedMessages().empty());
    EXPECT_FALSE(scratch.exists("logError.txt"));
}

}  // namespace
