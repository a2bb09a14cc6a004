#include "HeadlessStage.h"

#include "graphics/Colour.h"
#include "graphics/Rect.h"
#include "resources/TextFileReader.h"

namespace {
const Rect kWholePicture{0, 0, 400, 400};
}  // namespace

HeadlessStage::HeadlessStage() {
    if (!logger.init()) return;
    if (!window.create("Quadrill", 400, 400, false)) return;
    if (!display.start(window, logger)) return;

    // The sprite sheet's size is the first row of txtMain, as in the game.
    TextFileReader reader;
    const int opened = reader.openText("txtMain", "TextFile");
    if (opened != 0) {
        logger.reportMissingResource("txtMain", opened);
        return;
    }
    Rect rcMisc;
    rcMisc.left = reader.readInt();
    rcMisc.top = reader.readInt();
    rcMisc.right = reader.readInt();
    rcMisc.bottom = reader.readInt();
    reader.close();
    if (!display.createOffscreen(misc, rcMisc.right, rcMisc.bottom, "picMisc", logger)) return;
    misc.loadBitmap("picMisc", 0, 0);
    misc.keyColour(kKeyGreen);

    if (!display.createOffscreen(plain, kWholePicture.right, kWholePicture.bottom, "picCombat", logger)) return;
    plain.loadBitmap("picCombat", 0, 0);
    bReady = true;
}

void HeadlessStage::copyPlainPicture() { display.blitFast(0, 0, &plain, kWholePicture); }
