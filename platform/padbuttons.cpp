// Pad buttons by number and the hold on Back that quits.
#include "platform/padbuttons.h"
#include "platform/input.h"

#include <stdlib.h>
#include <string.h>
#include <strings.h>

int padBackQuits;

static bool nameHas(const char *name, const char *const words[])
{
    for (int i = 0; words[i]; i++)
        for (const char *p = name; *p; p++)
            if (strncasecmp(p, words[i], strlen(words[i])) == 0)
                return true;
    return false;
}

PadButtons padButtonsFor(const char *name, int buttonCount)
{
    static const char *const xinput[] = { "x-box", "xbox", "xinput", "microsoft", nullptr };
    static const char *const playstation[] = { "playstation", "sony", "dualshock", "dualsense",
                                               "wireless controller", nullptr };
    const PadButtons xinputLayout = { 0, 7, 6 }, otherLayout = { 0, 9, 8 };
    if (name && nameHas(name, xinput))
        return xinputLayout;
    if (name && nameHas(name, playstation))
        return otherLayout;
    // Pads of fewer than ten buttons have no button 9; XInput pads under
    // another maker's name still have eleven.
    return buttonCount >= 10 && buttonCount != 11 ? otherLayout : xinputLayout;
}

// "role=N" at *p, moving *p past it; false when it is not one.
static bool readRole(const char **p, PadButtons *out)
{
    static const struct { const char *name; int PadButtons::*field; } roles[] = {
        { "fire=", &PadButtons::fire }, { "start=", &PadButtons::start },
        { "back=", &PadButtons::back },
    };
    for (const auto &role : roles) {
        size_t n = strlen(role.name);
        if (strncmp(*p, role.name, n) != 0)
            continue;
        const char *digits = *p + n;
        int value = 0, count = 0;
        while (digits[count] >= '0' && digits[count] <= '9' && count < 3)
            value = value * 10 + (digits[count++] - '0');
        if (count == 0 || count > 2)
            return false;
        out->*role.field = value;
        *p = digits + count;
        return true;
    }
    return false;
}

bool applyPadSetting(PadButtons *layout, const char *setting)
{
    PadButtons wanted = *layout;
    const char *p = setting;
    if (!p || !*p)
        return false;
    for (;;) {
        if (!readRole(&p, &wanted))
            return false;
        if (*p == '\0')
            break;
        if (*p++ != ',')
            return false;
    }
    if (wanted.fire == wanted.start || wanted.fire == wanted.back || wanted.start == wanted.back)
        return false;
    *layout = wanted;
    return true;
}

bool backHoldQuits(bool held, Uint32 ticks)
{
    static bool holding;
    static Uint32 since;
    if (!held || !padBackQuits) {
        holding = false;
        return false;
    }
    if (!holding) {
        holding = true;
        since = ticks;
    }
    return ticks - since >= backHoldMs;
}
