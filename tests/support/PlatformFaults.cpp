#include "support/PlatformFaults.h"

#include "platform/Audio.h"
#include "platform/DisplayFaults.h"
#include "platform/EventPump.h"
#include "platform/File.h"
#include "platform/FramePacer.h"
#include "platform/KeyboardTable.h"
#include "platform/MessageBox.h"
#include "platform/ResourceTable.h"
#include "platform/Ticks.h"

namespace {
void clearAll() {
    platform::testing::clearResourceFaults();
    platform::testing::clearFileFaults();
    platform::testing::useRealTickCount();
    platform::testing::clearRecordedMessages();
    platform::testing::clearDisplayFaults();
    platform::testing::clearKeyboardFaults();
    platform::testing::clearAudioFaults();
    platform::testing::clearEventPump();
    platform::testing::setDisplayRefreshRate(0);
}
}  // namespace

PlatformFaults::PlatformFaults() {
    clearAll();
    // A test never blocks on a message box; it reads what would be shown.
    platform::testing::recordMessages(true);
}

PlatformFaults::~PlatformFaults() {
    clearAll();
    platform::testing::recordMessages(false);
}
