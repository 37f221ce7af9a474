// The gamepad on SDL 1.2, where buttons have only numbers: fire is button 0,
// Start is 7 on XInput-style pads and 9 on many others, and only the first
// pad is read.
#include <gtest/gtest.h>
#include "tests/support.h"
#include "platform/input.h"

static void pushButton(int button, int pad)
{
    SDL_Event e = {};
    e.type = SDL_JOYBUTTONDOWN;
    e.jbutton.which = pad;
    e.jbutton.button = button;
    SDL_PushEvent(&e);
}

TEST(GamepadByNumber, ButtonsZeroSevenAndNineOfTheFirstPad)
{
    openTestVideo();
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    openGamepad();
    pushButton(padFireButton, 0);
    pushButton(padStartButton, 0);
    pushButton(padStartButtonAlt, 0);
    pushButton(1, 0);       // no meaning
    pushButton(0, 1);       // a second pad is not read
    PassInput in;
    readLiveInput(&in, 10);
    ASSERT_EQ(in.eventCount, 3);
    EXPECT_EQ(in.events[0], passFire);
    EXPECT_EQ(in.events[1], passStart);
    EXPECT_EQ(in.events[2], passStart);
}
