#pragma once
#include <gtest/gtest.h>

#include <cstdint>

#include "combat/Bonus.h"
#include "combat/Paddle.h"
#include "combat/TextLabel.h"
#include "errors/ErrorLogger.h"
#include "graphics/DisplayDevice.h"
#include "graphics/Surface.h"
#include "graphics/Rect.h"
#include "physics/BallSet.h"
#include "physics/MatchRandom.h"
#include "physics/Wall.h"
#include "resources/TextFileReader.h"
#include "sound/SoundDevice.h"

// The match's physical objects, loaded from the real txtGame in the order
// the match reads it, and lent to each other the way the match lends them.
// No display has started; without a sound device every ball is silent.
struct ArenaLayout {
    explicit ArenaLayout(SoundDevice* soundDevice = nullptr) {
        TextFileReader reader;
        opened = reader.openText("txtGame", "TextFile") == 0;
        rcBack.left = reader.readInt();
        rcBack.top = reader.readInt();
        rcBack.right = reader.readInt();
        rcBack.bottom = reader.readInt();
        for (Paddle& paddle : paddles) paddle.load(reader, dwFrameTime, dwNow);
        balls.load(reader, display, soundDevice, sprites, paddles, walls, rcBack, scoreLabels, dwNow, random, logger);
        loadWalls(reader, walls);
        for (Bonus& bonus : bonuses) bonus.load(reader);
        for (TextLabel& label : scoreLabels) label.loadCounter(reader);
        centreLabel.load(reader);
        reader.close();
    }

    std::int32_t score(int colour) const { return scoreLabels[colour].getValue(); }

    bool opened = false;
    ErrorLogger logger;
    DisplayDevice display;
    Surface sprites;
    std::uint32_t dwFrameTime = 16;
    std::uint32_t dwNow = 10000;
    MatchRandom random;
    Rect rcBack;
    Paddle paddles[4];
    BallSet balls;
    Wall walls[4];
    Bonus bonuses[4];
    TextLabel scoreLabels[4];
    TextLabel centreLabel;
};

// Colours, in layout order.
constexpr int kGreen = 0;
constexpr int kYellow = 1;
constexpr int kRed = 2;
constexpr int kBlue = 3;
