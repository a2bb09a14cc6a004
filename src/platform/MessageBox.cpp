#include "platform/MessageBox.h"

#include <SDL.h>

#include <cstdio>

namespace platform {
namespace {
bool g_recording = false;

std::vector<testing::ShownMessage>& recorded() {
    static std::vector<testing::ShownMessage> list;
    return list;
}
}  // namespace

void showErrorMessage(const char* caption, const char* text) {
    if (caption == nullptr) caption = "";
    if (text == nullptr) text = "";
    if (g_recording) {
        recorded().push_back({caption, text});
        // A real box leaves SDL's error text replaced by its own (or
        // cleared); so does this one, so that tests see what players get.
        SDL_ClearError();
        return;
    }
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, nullptr) != 0) {
        std::fprintf(stderr, "%s\n%s\n", caption, text);
    }
}

namespace testing {
void recordMessages(bool on) { g_recording = on; }
const std::vector<ShownMessage>& recordedMessages() { return recorded(); }
void clearRecordedMessages() { recorded().clear(); }
}  // namespace testing

}  // namespace platform
