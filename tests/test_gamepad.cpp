// The gamepad through the pass input: a pad as the library sees one (joystick
// events on SDL 1.2, a virtual game controller on SDL 2) moves, fires, pauses
// and restarts like the keyboard.
#include <gtest/gtest.h>
#include <tuple>
#include "tests/support.h"
#include "world/world.h"
#include "platform/input.h"
#include "game/loop.h"
#include "game/options.h"
#include "tests/testinput.h"

class Gamepad : public ::testing::Test {
protected:
    void SetUp() override
    {
        openTestVideo();
        SDL_InitSubSystem(SDL_INIT_JOYSTICK);
        openGamepad();
        ASSERT_TRUE(attachTestPad()) << SDL_GetError();
        startTestGame();
    }
    void TearDown() override { detachTestPad(); }
};

TEST_F(Gamepad, AxesAndHatHoldDirectionsBeyondTheDeadZone)
{
    static const struct { int axis, value; Uint16 held; } axes[] = {
        { 0, -32768, heldLeft }, { 0, 32767, heldRight }, { 1, -20000, heldUp },
        { 1, 20000, heldDown }, { 0, padDeadZone, 0 }, { 1, -padDeadZone, 0 },
        { 0, padDeadZone + 1, heldRight }, { 2, 32767, 0 },
    };
    for (const auto &a : axes) {
        padStick(a.axis, a.value);
        EXPECT_EQ(readLivePass().held, a.held) << "axis " << a.axis << " at " << a.value;
        padStick(a.axis, 0);
        EXPECT_EQ(readLivePass().held, 0) << "axis " << a.axis << " back at rest";
    }
    // Hat and stick are separate: letting go of one keeps the other's direction.
    padDpad(SDL_HAT_RIGHTUP);
    EXPECT_EQ(readLivePass().held, heldRight | heldUp);
    padStick(1, 30000);
    EXPECT_EQ(readLivePass().held, heldRight | heldUp | heldDown);
    padDpad(SDL_HAT_CENTERED);
    EXPECT_EQ(readLivePass().held, heldDown);
    padStick(1, 0);
    // Keys and pad add up.
    holdKey(SDLK_s, true);
    padDpad(SDL_HAT_LEFT);
    EXPECT_EQ(readLivePass().held, heldS | heldLeft);
    padDpad(SDL_HAT_CENTERED);
    holdKey(SDLK_s, false);
    EXPECT_EQ(readLivePass().held, 0);
}

// Fire and Start become pass events (other buttons mean nothing); Start
// pauses and resumes a game in play and starts a new one after game over.
TEST_F(Gamepad, ButtonsFireAndStartPausesOrRestarts)
{
    padButton(testPadFire);
    padButton(testPadStart);
    padButton(testPadOther);
    PassInput in = readLivePass();
    EXPECT_EQ(std::make_tuple(in.eventCount, in.events[0], in.events[1]),
              std::make_tuple(2, (Uint8)passFire, (Uint8)passStart));

    for (int pausedNow : { 1, 0 }) {
        padButton(testPadStart);
        runFramePass(lastTicks + 10);
        EXPECT_EQ(paused, pausedNow);
    }
    gameOver = 1;
    lives = -1;
    padButton(testPadStart);
    runFramePass(lastTicks + 10);
    EXPECT_EQ(std::make_tuple(gameOver, lives, paused), std::make_tuple(0, 5, 0));
}

// Back held for a second quits, but only while paused or over: in play it
// does nothing however long, and a hold begun in play counts from the pause.
TEST_F(Gamepad, BackHeldASecondWhilePausedOrOverQuits)
{
    padBack(true);
    for (int i = 0; i < 150; i++)
        ASSERT_EQ(runFramePass(lastTicks + 10), 0) << "quit in play";
    padButton(testPadStart);
    runFramePass(lastTicks + 10);
    ASSERT_EQ(paused, 1);
    // Passes in order: over or paused, Back held, ms since the pass before,
    // whether it quits. Paused, the hold counts from the pause; over, a hold
    // let go early is started over by the next.
    const struct { bool over, back; Uint32 ms; int quits; } passes[] = {
        { 0, 1, 10, 0 }, { 0, 1, 980, 0 }, { 0, 1, 20, 1 },
        { 1, 0, 10, 0 }, { 1, 1, 10, 0 }, { 1, 1, 900, 0 }, { 1, 0, 10, 0 }, { 1, 1, 10, 0 },
        { 1, 1, 900, 0 }, { 1, 1, 100, 1 }, { 1, 0, 10, 0 },
    };
    bool held = true;
    for (const auto &p : passes) {
        paused = !p.over;
        gameOver = p.over;
        if (p.back != held)
            padBack(held = p.back);
        EXPECT_EQ(runFramePass(lastTicks + p.ms), p.quits) << "pass " << &p - passes;
    }
}

TEST_F(Gamepad, LostFocusPausesUnlessTurnedOff)
{
    pushFocus(false);
    pushFocus(true);                    // regaining focus does not resume
    runFramePass(lastTicks + 10);
    EXPECT_EQ(paused, 1);

    paused = 0;
    focusPauses = 0;
    pushFocus(false);
    runFramePass(lastTicks + 10);
    EXPECT_EQ(paused, 0);
    focusPauses = 1;
}
