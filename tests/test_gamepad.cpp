// The gamepad through the pass input: synthetic joystick events, as a pad
// would send them, move, fire, pause and restart like the keyboard.
#include <gtest/gtest.h>
#include "tests/support.h"
#include "world/world.h"
#include "platform/input.h"
#include "game/loop.h"
#include "game/options.h"

static void pushAxis(int axis, int value)
{
    SDL_Event e = {};
    e.type = SDL_JOYAXISMOTION;
    e.jaxis.which = 0;
    e.jaxis.axis = axis;
    e.jaxis.value = (Sint16)value;
    SDL_PushEvent(&e);
}

static void pushHat(Uint8 value)
{
    SDL_Event e = {};
    e.type = SDL_JOYHATMOTION;
    e.jhat.value = value;
    SDL_PushEvent(&e);
}

static void pushButton(int button, int pad = 0)
{
    SDL_Event e = {};
    e.type = SDL_JOYBUTTONDOWN;
    e.jbutton.which = pad;
    e.jbutton.button = button;
    SDL_PushEvent(&e);
}

static PassInput readPass()
{
    static Uint32 t = 1000;
    PassInput in;
    readLiveInput(&in, t += 10);
    return in;
}

class Gamepad : public ::testing::Test {
protected:
    void SetUp() override
    {
        screen = openTestVideo();
        SDL_InitSubSystem(SDL_INIT_JOYSTICK);
        openGamepad();
        Uint8 *keys = SDL_GetKeyState(NULL);
        for (int k = 0; k < SDLK_LAST; k++)
            keys[k] = 0;
        for (int i = 0; i < maxBullets; i++)
            bulletActive[i] = enemyActive[i] = 0;
        lives = 5;
        gameOver = paused = godMode = score = 0;
        player.setPos(100.0f, 200.0f);
        lastTicks = 1000;
        runFramePass(1000);
    }
};

TEST_F(Gamepad, AxesAndHatHoldDirectionsBeyondTheDeadZone)
{
    static const struct { int axis, value; Uint16 held; } axes[] = {
        { 0, -32768, heldLeft }, { 0, 32767, heldRight }, { 1, -20000, heldUp },
        { 1, 20000, heldDown }, { 0, padDeadZone, 0 }, { 1, -padDeadZone, 0 },
        { 0, padDeadZone + 1, heldRight }, { 2, 32767, 0 },
    };
    for (const auto &a : axes) {
        pushAxis(a.axis, a.value);
        EXPECT_EQ(readPass().held, a.held) << "axis " << a.axis << " at " << a.value;
        pushAxis(a.axis, 0);
        EXPECT_EQ(readPass().held, 0) << "axis " << a.axis << " back at rest";
    }
    // Hat and stick are separate: letting go of one keeps the other's direction.
    pushHat(SDL_HAT_RIGHTUP);
    EXPECT_EQ(readPass().held, heldRight | heldUp);
    pushAxis(1, 30000);
    EXPECT_EQ(readPass().held, heldRight | heldUp | heldDown);
    pushHat(SDL_HAT_CENTERED);
    EXPECT_EQ(readPass().held, heldDown);
    pushAxis(1, 0);
    // Keys and pad add up.
    SDL_GetKeyState(NULL)[SDLK_s] = 1;
    pushHat(SDL_HAT_LEFT);
    EXPECT_EQ(readPass().held, heldS | heldLeft);
    pushHat(SDL_HAT_CENTERED);
    SDL_GetKeyState(NULL)[SDLK_s] = 0;
    EXPECT_EQ(readPass().held, 0);
}

TEST_F(Gamepad, ButtonsBecomeFireAndStartEvents)
{
    pushButton(0);
    pushButton(7);
    pushButton(9);
    pushButton(1);          // no meaning
    pushButton(0, 1);       // a second pad is not read
    PassInput in = readPass();
    ASSERT_EQ(in.eventCount, 3);
    EXPECT_EQ(in.events[0], passFire);
    EXPECT_EQ(in.events[1], passStart);
    EXPECT_EQ(in.events[2], passStart);
}

// The pad through whole passes of the game: it steers, fires, pauses and
// after game over starts a new game.
TEST_F(Gamepad, PlaysLikeTheKeyboard)
{
    pushAxis(0, 32767);
    runFramePass(lastTicks + 10);
    EXPECT_EQ(player.getX(), 102.0f);
    pushAxis(0, 0);
    pushHat(SDL_HAT_UP);
    runFramePass(lastTicks + 10);
    EXPECT_EQ(player.getX(), 102.0f);
    EXPECT_EQ(player.getY(), 198.0f);
    pushHat(SDL_HAT_CENTERED);

    pushButton(padFireButton);
    runFramePass(lastTicks + 10);
    int flying = 0;
    for (int i = 0; i < maxBullets; i++)
        flying += bulletActive[i] == 1;
    EXPECT_EQ(flying, 1);

    pushButton(padStartButton);
    runFramePass(lastTicks + 10);
    EXPECT_EQ(paused, 1);
    pushAxis(0, 32767);                 // paused: the ship stays
    runFramePass(lastTicks + 10);
    EXPECT_EQ(player.getX(), 102.0f);
    pushAxis(0, 0);
    pushButton(padStartButtonAlt);
    runFramePass(lastTicks + 10);
    EXPECT_EQ(paused, 0);

    gameOver = 1;
    lives = -1;
    pushButton(padStartButton);
    runFramePass(lastTicks + 10);
    EXPECT_EQ(gameOver, 0);
    EXPECT_EQ(lives, 5);
    EXPECT_EQ(paused, 0);
}

TEST_F(Gamepad, LostFocusPausesUnlessTurnedOff)
{
    SDL_Event e = {};
    e.type = SDL_ACTIVEEVENT;
    e.active.gain = 0;
    e.active.state = SDL_APPINPUTFOCUS;
    SDL_PushEvent(&e);
    e.active.gain = 1;                  // regaining focus does not resume
    SDL_PushEvent(&e);
    runFramePass(lastTicks + 10);
    EXPECT_EQ(paused, 1);
    runFramePass(lastTicks + 10);
    EXPECT_EQ(paused, 1);

    paused = 0;
    focusPauses = 0;
    e.active.gain = 0;
    SDL_PushEvent(&e);
    runFramePass(lastTicks + 10);
    EXPECT_EQ(paused, 0);
    focusPauses = 1;
}
