#include "app/OutOfMemory.h"

#include <cstdio>
#include <new>

#include "platform/EventPump.h"
#include "platform/MessageBox.h"

const char* outOfMemoryText(std::size_t size, char (&buffer)[100]) {
    std::snprintf(buffer, sizeof buffer, "Insufficient memory to create an object!\nMemory needed: %zu", size);
    return buffer;
}

void reportOutOfMemory(std::size_t size) {
    // Showing the message may itself need memory; a second failure while
    // the first is being told must not tell it again, or it never ends.
    static bool reporting = false;
    if (!reporting) {
        reporting = true;
        // The text goes into a buffer on the stack: there is no memory to spare.
        char text[100];
        platform::showErrorMessage("Chyba!", outOfMemoryText(size, text));
        platform::requestClose();
        reporting = false;
    }
    throw std::bad_alloc();
}
