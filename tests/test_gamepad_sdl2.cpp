// The gamepad on SDL 2 through virtual devices SDL makes for tests: pads
// that come and go during play, a second pad, and a pad SDL's database does
// not know, played through the mapping given in SDL_GAMECONTROLLERCONFIG.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <tuple>
#include "tests/support.h"
#include "world/world.h"
#include "platform/input.h"
#include "game/loop.h"
#include "tests/testinput.h"

// A pad of an odd make that SDL's database does not know: stick axes
// swapped, A on button 3, Start on 8, the D-pad a hat. Its mapping is handed
// to SDL in the environment, as a player would set it.
static const char oddName[] = "Odd test pad";
static const Uint16 oddVendor = 0x1234, oddProduct = 0x5678;

static int attachOddPad()
{
    SDL_VirtualJoystickDesc d;
    SDL_zero(d);
    d.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    d.type = SDL_JOYSTICK_TYPE_UNKNOWN;
    d.naxes = 2;
    d.nbuttons = 10;
    d.nhats = 1;
    d.vendor_id = oddVendor;
    d.product_id = oddProduct;
    d.name = oddName;
    return SDL_JoystickAttachVirtualEx(&d);
}

// SDL reads the mapping when its joystick system starts, and the pad's GUID
// is known only once SDL has made it: the pad is made once to learn its GUID,
// then the joystick system starts again with the mapping in the environment
// and the pad is plugged in anew.
static void startWithOddPadMapped(int *oddIndex)
{
    // The dummy driver's window never has the focus, without which SDL drops
    // a pad's presses.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
    int probe = attachOddPad();
    ASSERT_GE(probe, 0) << SDL_GetError();
    char guid[64];
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(probe), guid, sizeof guid);
    SDL_JoystickDetachVirtual(probe);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    ASSERT_FALSE(SDL_WasInit(SDL_INIT_JOYSTICK)) << "another test left the joystick system running";

    std::string mapping = std::string(guid) + "," + oddName
        + ",a:b3,start:b8,leftx:a1,lefty:a0,dpup:h0.1,dpright:h0.2,dpdown:h0.4,dpleft:h0.8,";
    setenv("SDL_GAMECONTROLLERCONFIG", mapping.c_str(), 1);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0);
    *oddIndex = attachOddPad();
    ASSERT_GE(*oddIndex, 0) << SDL_GetError();
}

TEST(GamepadSdl2, MappingFromTheEnvironmentNamesAnUnknownPadsButtons)
{
    screen = openTestVideo();
    int odd = -1;
    startWithOddPadMapped(&odd);
    ASSERT_TRUE(SDL_IsGameController(odd));
    openGamepad();
    SDL_Joystick *j = SDL_JoystickOpen(odd);
    ASSERT_NE(j, nullptr);
    readLivePass();

    // Button 3 is A, button 0 means nothing; axis 1 is left-right.
    SDL_JoystickSetVirtualButton(j, 0, 1);
    SDL_JoystickSetVirtualButton(j, 3, 1);
    SDL_JoystickSetVirtualAxis(j, 1, -30000);
    PassInput in = readLivePass();
    EXPECT_EQ(std::make_tuple(in.eventCount, in.events[0], in.held),
              std::make_tuple(1, (Uint8)passFire, (Uint16)heldLeft));
    SDL_JoystickSetVirtualAxis(j, 1, 0);
    SDL_JoystickSetVirtualAxis(j, 0, 30000);
    SDL_JoystickSetVirtualHat(j, 0, SDL_HAT_RIGHT);
    SDL_JoystickSetVirtualButton(j, 8, 1);
    in = readLivePass();
    EXPECT_EQ(std::make_tuple(in.eventCount, in.events[0], in.held),
              std::make_tuple(1, (Uint8)passStart, (Uint16)(heldDown | heldRight)));
    SDL_JoystickClose(j);
    SDL_JoystickDetachVirtual(odd);
}

// Pads plugged in and pulled out during play: the first takes over, a second
// is not read while the first is there and takes over when it goes; a pad
// pulled out lets go of its directions and nothing pauses. Each pad taken up
// or let go is one line with its name.
TEST(GamepadSdl2, PadsComeAndGoDuringPlay)
{
    testing::internal::CaptureStdout();
    openTestVideo();
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0);
    openGamepad();
    startTestGame();

    // The first pad is the shared test pad, the second one of this test's own.
    ASSERT_TRUE(attachTestPad()) << SDL_GetError();
    runFramePass(lastTicks + 10);       // the game takes the new pad
    padStick(0, 32767);
    runFramePass(lastTicks + 10);
    EXPECT_EQ(player.getX(), 102.0f);

    int second = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                           SDL_CONTROLLER_BUTTON_MAX, 0);
    ASSERT_GE(second, 0);
    SDL_Joystick *b = SDL_JoystickOpen(second);
    runFramePass(lastTicks + 10);
    EXPECT_EQ(player.getX(), 104.0f);
    SDL_JoystickSetVirtualButton(b, SDL_CONTROLLER_BUTTON_A, 1);
    runFramePass(lastTicks + 10);
    EXPECT_EQ(flyingBullets(), 0) << "the second pad fired";

    // The first pad goes while its stick is pushed: the ship stops, the game
    // goes on unpaused, and the second pad plays from now on.
    detachTestPad();
    runFramePass(lastTicks + 10);
    float x = player.getX();
    runFramePass(lastTicks + 10);
    EXPECT_EQ(player.getX(), x);
    EXPECT_EQ(paused, 0);
    SDL_JoystickSetVirtualButton(b, SDL_CONTROLLER_BUTTON_A, 0);
    runFramePass(lastTicks + 10);
    SDL_JoystickSetVirtualButton(b, SDL_CONTROLLER_BUTTON_A, 1);
    runFramePass(lastTicks + 10);
    EXPECT_EQ(flyingBullets(), 1);
    SDL_JoystickSetVirtualAxis(b, SDL_CONTROLLER_AXIS_LEFTY, -32767);
    runFramePass(lastTicks + 10);
    EXPECT_EQ(player.getY(), 198.0f);
    std::string name = SDL_GameControllerNameForIndex(0);
    SDL_JoystickClose(b);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "driftwing: gamepad taken up: " + name
              + "\ndriftwing: gamepad let go: " + name + "\ndriftwing: gamepad taken up: " + name + "\n");
}
