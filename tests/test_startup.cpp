// Start-up, asset loading, and shutdown. Each test works in a folder of its
// own, named by its absolute path, and stays there.
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>
#include <sys/wait.h>
#include "tests/support.h"
#include "world/world.h"
#include "core/random.h"
#include "game/startup.h"
#include "render/backdrop.h"

// Start-up, loading from a data directory with nothing in it, and shutdown.
TEST(StartUp, MissingAssetsAreNamedAndTheGameStillRuns)
{
    std::string empty = makeTempDir();
    ASSERT_EQ(chdir(empty.c_str()), 0);
    writeString("high1", "42\n");

    startSystems();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(highScore, 42);

    testing::internal::CaptureStdout();
    loadAssets();
    std::string out = testing::internal::GetCapturedStdout();
    // Each of the fifteen is named once: a sprite set by the loader's own
    // line about its info file, everything else by start-up. (Which line
    // names which asset is checked asset by asset by the broken-data run.)
    int named = 0;
    for (const char *line : { "Could not load data/", "ERROR opening file data/", "ERROR opening file Data/" })
        for (size_t at = out.find(line); at != std::string::npos; at = out.find(line, at + 1))
            named++;
    EXPECT_EQ(named, 15) << out;
    // Play with a missing asset is the broken-data run's, one asset at a
    // time; empty sprite sets and missing pictures draw nothing (the sprite
    // and blit tests).

    // Equal scores leave the stored file alone, byte for byte.
    score = 42;
    shutdownGame();
    EXPECT_EQ(readString("high1"), "42\n");
}

// Play on the pack (its music, backdrop, spawns and points) is what the
// golden demos replay, pass by pass, on a freshly generated pack.
TEST(StartUp, TheGeneratedPackLoadsWhole)
{
    std::string pack = generatedPack(true);
    ASSERT_EQ(chdir(pack.c_str()), 0);

    startSystems();
    testing::internal::CaptureStdout();
    loadAssets();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    // The pictures at the sizes the screen layout needs (the HUD's own are
    // measured by the HUD layout test).
    ASSERT_TRUE(titleImage && repeatImage && frontImage && gameOverImage);
    EXPECT_TRUE(titleImage->w == 640 && titleImage->h == 480);
    for (SDL_Surface *strip : { repeatImage, frontImage })
        EXPECT_TRUE(strip->w == stripPeriod && strip->h == bandHeight);
    EXPECT_TRUE(gameOverImage->w >= 160 && gameOverImage->w <= 640 - 192 && gameOverImage->h <= 460 - 200);
    // (The fonts and sprite sets, loaded as here, are drawn by the HUD test
    // and the golden demos.)
    ASSERT_NE(music, nullptr);
    shutdownGame();
}
