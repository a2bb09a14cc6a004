#include <string>
#include <vector>

#include "CombatScene.h"
#include "platform/DisplayFaults.h"
#include "platform/MessageBox.h"
#include "platform/ResourceTable.h"

namespace {

using namespace platform::status;
class CombatTest : public CombatScene {
protected:
    // Where everything stands after each of a few hundred frames.
    std::vector<double> playAndRecord() {
        std::vector<double> record;
        std::uint32_t t = kLoadTime;
        for (int frame = 0; frame < 600; ++frame) {
            frameAt(t += 16);
            for (std::int32_t i = 0; i < combat->ballSet().count(); ++i) {
                record.push_back(combat->ballSet().ballPos(i).x);
                record.push_back(combat->ballSet().ballPos(i).y);
            }
            for (int colour = 0; colour < 4; ++colour) {
                record.push_back(combat->paddle(colour).getX() + combat->paddle(colour).getY());
                record.push_back(combat->scoreLabel(colour).getValue());
            }
        }
        return record;
    }
};

const std::vector<platform::testing::ShownMessage>& messages() { return platform::testing::recordedMessages(); }

TEST_F(CombatTest, LoadedMatchWaitsForItsFirstServe) {
    makeCombat();
    const struct {
        double x;
        double y;
    } start[4] = {{6.0, 167.5}, {167.5, 381.0}, {381.0, 167.5}, {167.5, 6.0}};
    for (int colour = 0; colour < 4; ++colour) {
        EXPECT_EQ(start[colour].x, combat->paddle(colour).getX()) << colour;
        EXPECT_EQ(start[colour].y, combat->paddle(colour).getY()) << colour;
        EXPECT_EQ("0", combat->scoreLabel(colour).getText());
        EXPECT_EQ(0, combat->scoreLabel(colour).getValue());
        EXPECT_TRUE(combat->scoreLabel(colour).isVisible());
    }
    ASSERT_EQ(1, combat->ballSet().count());
    EXPECT_EQ(200.0, ball(0).getPos().x);
    EXPECT_EQ(200.0, ball(0).getPos().y);
    EXPECT_EQ(-1, combat->bonusOnField());
    EXPECT_EQ("10", combat->centre().getText());
    EXPECT_TRUE(combat->centre().isVisible());
    EXPECT_FALSE(combat->isPlaying());
    EXPECT_FALSE(combat->isMatchOver());
    EXPECT_EQ(10, combat->ballsLeft());
    EXPECT_TRUE(combat->hasArena());
    EXPECT_TRUE(messages().empty());
}

TEST_F(CombatTest, FirstSpeedUpComesMoreThan1500MsAfterTheLoad) {
    makeCombat();
    frameAt(kLoadTime + 1001);
    frameAt(kLoadTime + 1500);
    EXPECT_EQ(0.3, ball(0).getSpeed());
    frameAt(kLoadTime + 1501);
    EXPECT_DOUBLE_EQ(0.305, ball(0).getSpeed());
}

TEST_F(CombatTest, MissingTablesFailTheLoadWithTheirNames) {
    for (const char* name : {"txtGame", "txtFont"}) {
        platform::testing::clearRecordedMessages();
        platform::testing::setResourceFault(name, platform::ResourceResult::NotFound);
        Combat broken(harness.display, nullptr, random, harness.misc, setup, harness.logger);
        EXPECT_EQ(0, broken.load()) << name;
        ASSERT_EQ(1u, messages().size()) << name;
        EXPECT_NE(std::string::npos, messages()[0].text.find(name));
        platform::testing::clearResourceFaults();
    }
}

TEST_F(CombatTest, ArenaFallsBackToSystemMemorySilentlyAndIsReportedWhenThatFailsToo) {
    platform::testing::failVideoMemory(true);
    makeCombat();
    EXPECT_TRUE(combat->hasArena());
    EXPECT_TRUE(messages().empty());

    platform::testing::failSystemMemory(E_OUTOFMEMORY);
    EXPECT_EQ(0, combat->recreateSurfaces());
    ASSERT_EQ(1u, messages().size());
    EXPECT_EQ(harness.logger.text(200), messages()[0].caption);
    EXPECT_NE(std::string::npos, messages()[0].text.find("picCombat"));
    EXPECT_NE(std::string::npos, messages()[0].text.find("E_OUTOFMEMORY"));
}

TEST_F(CombatTest, WithOrWithoutSoundTheSameSeedPlaysTheSameMatch) {
    makeCombat(11);
    const std::vector<double> silent = playAndRecord();

    sound = std::make_unique<SoundDevice>();
    ASSERT_EQ(1, sound->create(&harness.window, harness.logger));
    makeCombat(11);
    EXPECT_TRUE(silent == playAndRecord());
}

}  // namespace
