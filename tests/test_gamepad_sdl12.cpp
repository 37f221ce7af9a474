// The gamepad on SDL 1.2, where buttons have only numbers: fire is button 0,
// Start and Back are chosen by what the pad is or by the player, never two
// for one role, and only the first pad is read.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <tuple>
#include "tests/support.h"
#include "platform/input.h"
#include "platform/padbuttons.h"
#include "tests/testinput.h"

static PassInput pressed(std::initializer_list<int> buttons)
{
    for (int b : buttons)
        pushPadButton(b, true);
    pushPadButton(0, true, 1);      // a second pad is not read
    return readLivePass();
}

// Fire, Start and Back of a layout, side by side.
static std::tuple<int, int, int> roles(const PadButtons &b) { return std::make_tuple(b.fire, b.start, b.back); }

TEST(GamepadByNumber, StartIsOneButtonChosenByThePadOrThePlayer)
{
    const struct { const char *name; int buttons, start, back; } pads[] = {
        { "Microsoft X-Box 360 pad", 11, 7, 6 },
        { "Xbox Wireless Controller", 16, 7, 6 },
        { "Logitech Gamepad F310", 11, 7, 6 },      // XInput by its count
        { "Sony PLAYSTATION(R)3 Controller", 13, 9, 8 },
        { "Sony Interactive Entertainment Wireless Controller", 13, 9, 8 },
        { "DragonRise Inc.   Generic   USB  Joystick  ", 12, 9, 8 },
        { "USB Gamepad ", 8, 7, 6 },                // no button 9 at all
        { nullptr, 0, 7, 6 },
    };
    for (const auto &p : pads)
        EXPECT_EQ(roles(padButtonsFor(p.name, p.buttons)), std::make_tuple(0, p.start, p.back)) << p.name;

    PadButtons b = padButtonsFor(nullptr, 0);
    EXPECT_TRUE(applyPadSetting(&b, "start=9,back=8"));
    EXPECT_EQ(roles(b), std::make_tuple(0, 9, 8));
    EXPECT_TRUE(applyPadSetting(&b, "back=10,fire=2"));
    EXPECT_EQ(roles(b), std::make_tuple(2, 9, 10));
    // Unreadable, or two roles on one button: the layout stays.
    for (const char *bad : { "", "start=", "start=7,", "start=100", "pause=3", "start=7;back=6",
                             "start=-1", "start=10", "fire=9,start=9", " start=7" })
        EXPECT_FALSE(applyPadSetting(&b, bad)) << bad;
    EXPECT_EQ(roles(b), std::make_tuple(2, 9, 10));

    // Through the live input: without a pad of its own the test's events get
    // the XInput numbers, so 9 means nothing; the player's setting moves Start.
    openTestVideo();
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    unsetenv("DRIFTWING_PAD_BUTTONS");
    openGamepad();
    PassInput in = pressed({ 0, 7, 9, 1 });
    EXPECT_EQ(std::make_tuple(in.eventCount, in.events[0], in.events[1]),
              std::make_tuple(2, (Uint8)passFire, (Uint8)passStart));
    setenv("DRIFTWING_PAD_BUTTONS", "start=9,back=8", 1);
    openGamepad();
    in = pressed({ 7, 9 });
    EXPECT_EQ(std::make_pair(in.eventCount, in.events[0]), std::make_pair(1, (Uint8)passStart));
    unsetenv("DRIFTWING_PAD_BUTTONS");
    openGamepad();
}
