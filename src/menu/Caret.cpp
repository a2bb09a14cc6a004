#include "menu/Caret.h"

#include "graphics/DisplayDevice.h"
#include "platform/Display.h"

Caret::Caret(DisplayDevice& displayDevice) : display(displayDevice) {}

Caret::~Caret() { destroy(); }

void Caret::create(std::int32_t width, std::int32_t height) {
    bExists = true;
    bShown = false;
    iWidth = width;
    iHeight = height;
    update();
}

void Caret::setPosition(std::int32_t x, std::int32_t y) {
    iX = x;
    iY = y;
    update();
}

void Caret::show() {
    bShown = true;
    update();
}

void Caret::hide() {
    bShown = false;
    update();
}

void Caret::destroy() {
    if (!bExists) return;
    bExists = false;
    bShown = false;
    update();
}

void Caret::update() {
    platform::Display* screen = display.platformDisplay();
    if (screen == nullptr) return;
    screen->setCaret(bExists, iX, iY, iWidth, iHeight);
    if (bShown) {
        screen->showCaret();
    } else {
        screen->hideCaret();
    }
}
