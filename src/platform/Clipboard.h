#pragma once
#include <string>

namespace platform {

// The desktop's clipboard, for text the player pastes elsewhere (the
// address others join with). False when the text could not be put there.
bool copyToClipboard(const std::string& text);
// What the clipboard holds now; empty when nothing, or no text.
std::string clipboardText();

}  // namespace platform
