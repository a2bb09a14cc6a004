#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "settings/Settings.h"
#include "support/PlatformFaults.h"
#include "support/ScopedEnvironment.h"
#include "support/ScratchDirectory.h"

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void expectDefaults(const Settings& settings, const std::string& what) {
        EXPECT_EQ(0, settings.windowWidth) << what;
        EXPECT_EQ(0, settings.windowHeight) << what;
        EXPECT_FALSE(settings.fullscreen) << what;
        EXPECT_FALSE(settings.muted) << what;
        EXPECT_TRUE(settings.portMapping) << what;
    }

    PlatformFaults faults;
    ScratchDirectory scratch;
    std::string reason;
};

TEST_F(SettingsTest, ValuesAndUnknownKeysSurviveARoundTrip) {
    ScopedEnvironment environment;
    environment.set("QUADRILL_CONFIG_DIR", scratch.path() + "/config");
    Settings settings;
    EXPECT_TRUE(settings.load());
    settings.windowWidth = 1000;
    settings.windowHeight = 800;
    settings.fullscreen = true;
    settings.muted = true;
    ASSERT_TRUE(settings.save(reason)) << reason;

    // A later version's keys, and a player's own, beside ours.
    std::string text = scratch.read("config/settings.ini");
    scratch.write("config/settings.ini", "theme = dark\n" + text + "\n[Window]\nvsync = off\n[pads]\nmap = 0:A\n");
    Settings again;
    ASSERT_TRUE(again.load());
    EXPECT_TRUE(again.portMapping);
    EXPECT_EQ(1000, again.windowWidth);
    EXPECT_EQ(800, again.windowHeight);
    EXPECT_TRUE(again.fullscreen);
    EXPECT_TRUE(again.muted);
    again.muted = false;
    ASSERT_TRUE(again.save(reason)) << reason;
    EXPECT_EQ("theme = dark\n[window]\nwidth = 1000\nheight = 800\nfullscreen = true\n\n[sound]\nmuted = false\n\n"
              "[Window]\nvsync = off\n[pads]\nmap = 0:A\n",
              scratch.read("config/settings.ini"));
}

// A file a player wrote by hand keeps everything but the values that
// changed, byte for byte; and what a save writes reads back as it was read.
TEST_F(SettingsTest, SavingChangesOnlyTheValuesThatChanged) {
    const std::string longLine = "note=" + std::string(192, 'n') + "\r\n";  // near a 200-character line
    const std::string before = "\xEF\xBB\xBF; my settings\r\n\r\n[Window]\r\nWidth=800\r\n  Height :  600 ; tall enough\r\n"
                               "=5\r\n" + longLine + "# fullscreen = true\r\n[sound]\r\nvolume = 7\r\n[extra]\r\nkey = value";
    scratch.write("settings.ini", before);
    Settings settings;
    ASSERT_TRUE(settings.load());
    EXPECT_EQ(800, settings.windowWidth);
    EXPECT_EQ(600, settings.windowHeight);
    EXPECT_FALSE(settings.fullscreen);

    // Nothing changed, nothing written.
    ASSERT_TRUE(settings.save(reason)) << reason;
    EXPECT_EQ(before, scratch.read("settings.ini"));

    settings.windowWidth = 1024;
    settings.fullscreen = true;
    settings.muted = true;
    ASSERT_TRUE(settings.save(reason)) << reason;
    EXPECT_EQ("\xEF\xBB\xBF; my settings\r\n\r\n[Window]\r\nWidth=1024\r\n  Height :  600 ; tall enough\r\n"
              "=5\r\n" + longLine + "fullscreen = true\r\n# fullscreen = true\r\n[sound]\r\nvolume = 7\r\nmuted = true\r\n"
              "[extra]\r\nkey = value",
              scratch.read("settings.ini"));
    Settings again;
    ASSERT_TRUE(again.load());
    EXPECT_EQ(1024, again.windowWidth);
    EXPECT_EQ(600, again.windowHeight);
    EXPECT_TRUE(again.fullscreen);
    EXPECT_TRUE(again.muted);
}

TEST_F(SettingsTest, AFileLargerThanSettingsEverAreIsNotRewritten) {
    const std::string before = "[sound]\nmuted = false\n; " + std::string(70000, 'x') + "\n[window]\nwidth = 640\n";
    scratch.write("settings.ini", before);
    Settings settings;
    ASSERT_TRUE(settings.load());
    settings.muted = true;
    EXPECT_FALSE(settings.save(reason));
    EXPECT_NE(std::string::npos, reason.find("64 KiB")) << reason;
    EXPECT_EQ(before, scratch.read("settings.ini"));
}

// Random files of the lines players and older versions write: a save of
// random changes gives back those values, and every other line stays.
TEST_F(SettingsTest, RandomFilesReadBackAsTheyWereSaved) {
    const std::string pieces[] = {"[window]", "[Window]", "[sound]", "[other]", "width = 800", "height=600",
                                  "WIDTH : 1280", "fullscreen = yes", "muted = off", "=5", " = 7", "; comment",
                                  "# width = 1", "", "   ", "key = value ; note", "garbage line", "[broken",
                                  "x=" + std::string(196, 'y'), "height = 99999999999", "\tmuted = on"};
    std::srand(20261209);
    for (int round = 0; round < 100; ++round) {
        std::string text;
        const int lines = std::rand() % 14;
        for (int i = 0; i < lines; ++i) {
            text += pieces[static_cast<std::size_t>(std::rand()) % (sizeof pieces / sizeof pieces[0])];
            text += std::rand() % 3 == 0 ? "\r\n" : "\n";
        }
        if (std::rand() % 4 == 0 && !text.empty()) text.pop_back();
        scratch.write("settings.ini", text);
        Settings settings;
        ASSERT_TRUE(settings.load());
        settings.windowWidth = std::rand() % 3 == 0 ? 0 : 300 + std::rand() % 2000;
        settings.windowHeight = settings.windowWidth == 0 ? 0 : 300 + std::rand() % 2000;
        settings.fullscreen = std::rand() % 2 == 0;
        settings.muted = std::rand() % 2 == 0;
        ASSERT_TRUE(settings.save(reason)) << reason;
        Settings again;
        ASSERT_TRUE(again.load());
        ASSERT_EQ(settings.windowWidth, again.windowWidth) << text;
        ASSERT_EQ(settings.windowHeight, again.windowHeight) << text;
        ASSERT_EQ(settings.fullscreen, again.fullscreen) << text;
        ASSERT_EQ(settings.muted, again.muted) << text;
        // Lines that set none of our keys are all still there.
        const std::string after = scratch.read("settings.ini");
        for (const std::string& piece : {std::string("=5"), std::string("; comment"), std::string("key = value ; note"),
                                         std::string("[broken"), std::string(196, 'y')}) {
            std::size_t had = 0;
            std::size_t has = 0;
            for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++had;
            for (std::size_t at = after.find(piece); at != std::string::npos; at = after.find(piece, at + 1)) ++has;
            ASSERT_EQ(had, has) << piece << " in\n" << text;
        }
    }
}

TEST_F(SettingsTest, MissingEmptyCutOrGarbledFilesGiveTheDefaults) {
    Settings settings;
    EXPECT_TRUE(settings.load());
    expectDefaults(settings, "no file");
    const std::string files[] = {
        "",
        "[window]\nfullscr",  // cut short
        "[window]\nwidth = -5\nheight = 600\nfullscreen = maybe\n[sound]\nmuted = 2\n",
        "[window]\nwidth = 99999999999999999999\nheight = 1\nfullscreen\n",
        "[window]\nwidth = 800\n",
        "[window\nwidth = 800\nheight = 800\n",
        std::string("\0\xFF\xFE[window]\nwidth=800\nheight=800\n", 31),
        "\xEF\xBB\xBF[sound]\nmuted = " + std::string(5000, 'y') + "\n",
        std::string(70000, '['),
        "[network]\nport_mapping = perhaps\n",
    };
    for (const std::string& bytes : files) {
        scratch.write("settings.ini", bytes);
        Settings garbled;
        EXPECT_TRUE(garbled.load());
        const std::string what = bytes.substr(0, 30);
        expectDefaults(garbled, what);
        EXPECT_TRUE(garbled.save(reason)) << what;
    }
    // The one choice the player turns off by hand.
    scratch.write("settings.ini", "[network]\nport_mapping = no\n");
    Settings noMapping;
    EXPECT_TRUE(noMapping.load());
    EXPECT_FALSE(noMapping.portMapping);
}

TEST_F(SettingsTest, AFileThatCannotBeReadIsLeftAlone) {
    ASSERT_EQ(0, mkdir((scratch.path() + "/settings.ini").c_str(), 0700));
    scratch.write("settings.ini/inside", "kept");
    Settings settings;
    EXPECT_FALSE(settings.load());
    EXPECT_FALSE(settings.save(reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ("kept", scratch.read("settings.ini/inside"));
}

}  // namespace
