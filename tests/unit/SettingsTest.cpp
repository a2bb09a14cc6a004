#include <gtest/gtest.h>

#include <sys/stat.h>

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
    EXPECT_EQ(1000, again.windowWidth);
    EXPECT_EQ(800, again.windowHeight);
    EXPECT_TRUE(again.fullscreen);
    EXPECT_TRUE(again.muted);
    again.muted = false;
    ASSERT_TRUE(again.save(reason)) << reason;
    EXPECT_EQ("theme = dark\n\n[window]\nwidth = 1000\nheight = 800\nfullscreen = true\nvsync = off\n\n[sound]\nmuted = false\n\n"
              "[pads]\nmap = 0:A\n",
              scratch.read("config/settings.ini"));
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
    };
    for (const std::string& bytes : files) {
        scratch.write("settings.ini", bytes);
        Settings garbled;
        EXPECT_TRUE(garbled.load());
        const std::string what = bytes.substr(0, 30);
        expectDefaults(garbled, what);
        EXPECT_TRUE(garbled.save(reason)) << what;
    }
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
