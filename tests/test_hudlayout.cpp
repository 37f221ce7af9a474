// The HUD as the frame code draws it with the generated logo, lives icon and
// fonts, loaded the way start-up loads them. In every state the game reaches
// (no life to ten, the lost game, scores and best scores of up to seven
// digits in both forms of the best's place, paused and god mode on or off) no two
// items come within a pixel of each other, each stays inside its line of the
// HUD, and the bottom line's texts stand on one baseline.
//
// An item's box is the bounding box of the pixels it turns non-black when it
// is drawn alone, by the same call the frame makes for it. That the list of
// items is the frame's own is checked too: the HUD lines of each composed
// frame hold exactly the pixels of its items drawn in its order.
#include <gtest/gtest.h>
#include <unistd.h>
#include <algorithm>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>
#include "tests/support.h"
#include "game/startup.h"
#include "world/world.h"
#include "render/blit.h"
#include "render/frame.h"

namespace {

const int topLineEnd = 60, bottomLineStart = 460;

// Inclusive pixel box, empty until a pixel is added.
struct Box {
    int x0 = 1 << 20, y0 = 1 << 20, x1 = -1, y1 = -1;
    bool empty() const { return x1 < 0; }
    void add(int x, int y)
    {
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
        x1 = std::max(x1, x);
        y1 = std::max(y1, y);
    }
    // Whether the two boxes overlap or touch: fewer than one clear pixel between them.
    bool near(const Box &o) const
    {
        return !empty() && !o.empty() && x0 <= o.x1 + 1 && o.x0 <= x1 + 1 && y0 <= o.y1 + 1
               && o.y0 <= y1 + 1;
    }
};

std::ostream &operator<<(std::ostream &os, const Box &b)
{
    if (b.empty())
        return os << "(nothing drawn)";
    return os << "x " << b.x0 << ".." << b.x1 << " y " << b.y0 << ".." << b.y1;
}

// The screen's pixels row by row; only the HUD lines' when hudOnly.
std::vector<Uint32> screenPixels(bool hudOnly)
{
    std::vector<Uint32> pixels;
    SDL_LockSurface(screen);
    for (int y = 0; y < 480; y++)
        if (!hudOnly || y < topLineEnd || y >= bottomLineStart) {
            const Uint32 *row = (const Uint32 *)((const Uint8 *)screen->pixels + y * screen->pitch);
            pixels.insert(pixels.end(), row, row + 640);
        }
    SDL_UnlockSurface(screen);
    return pixels;
}

// The box of every pixel of the screen that is not black.
Box inkOnScreen()
{
    std::vector<Uint32> pixels = screenPixels(false);
    Box box;
    for (size_t p = 0; p < pixels.size(); p++)
        if (pixels[p] != SDL_MapRGB(screen->format, 0, 0, 0))
            box.add(p % 640, p / 640);
    return box;
}

// One HUD item: a name for messages, the line it belongs to, and the same
// drawing call the frame makes for it.
struct Item {
    std::string name;
    bool bottomLine;
    std::function<void()> draw;
};

// The items of the frame in the current world state, in drawing order.
std::vector<Item> hudItems()
{
    std::vector<Item> items;
    items.push_back({ "logo", false, [] { blitAt(logoImage, 0, 0, screen); } });
    for (int i = 0; i < lives; i++)
        items.push_back({ "lives icon " + std::to_string(i), false,
                          [i] { blitAt(smallShipImage, 250 - 30 * i, 36, screen); } });
    int shown = std::max(lives, 0);
    items.push_back({ "LIVES: " + std::to_string(shown), false,
                      [shown] { drawText(screen, bigFont, 80, 36, "LIVES: %d", shown); } });
    items.push_back({ "SCORE:", true, [] { drawText(screen, bigFont, 10, 460, "SCORE:"); } });
    int s = score, h = highScore;
    items.push_back({ "score " + std::to_string(s), true, [s] { drawText(screen, bigFont, 100, 460, "%d", s); } });
    items.push_back({ "HIGHSCORE:", true, [] { drawText(screen, bigFont, 200, 460, "HIGHSCORE:"); } });
    if (paused != 0)
        items.push_back({ "PAUSED", false, [] { drawText(screen, tintedFont, 400, 36, "PAUSED"); } });
    if (h > s)
        items.push_back({ "best " + std::to_string(h), true, [h] { drawText(screen, bigFont, 300, 460, "%d", h); } });
    else
        items.push_back({ std::to_string(s) + " NEW HIGHSCORE!!", true,
                          [s] { drawText(screen, bigFont, 300, 460, "%d NEW HIGHSCORE!!", s); } });
    if (godMode == 1)
        items.push_back({ "GOD", false, [] { drawText(screen, tintedFont, 350, 36, "GOD"); } });
    items.push_back({ "credit line", true, [] { drawText(screen, tintedFont, 465, 460, "%s", creditLine); } });
    return items;
}

// The box of an item drawn alone on a black screen; each is measured once.
const Box &measure(const Item &item)
{
    static std::map<std::string, Box> seen;
    auto found = seen.find(item.name);
    if (found != seen.end())
        return found->second;
    SDL_FillRect(screen, NULL, 0);
    item.draw();
    return seen[item.name] = inkOnScreen();
}

// Paused and god mode take turns with the score: both on (where the two
// texts share the top line with every count of lives), the other values the
// frame reads as on and off, and both off.
void setState(int l, int s, int h, int turn)
{
    const int pausedAs[] = { 1, -1, 0 }, godAs[] = { 1, 2, 0 };
    lives = l;
    score = s;
    highScore = h;
    paused = pausedAs[turn % 3];
    godMode = godAs[turn % 3];
    gameOver = l < 0;
}

// Score and best from one digit to seven, the widest-inked digits among
// them, in both forms of the best's place: a higher best shown as it is, and
// the score shown with NEW HIGHSCORE once it reaches the best.
const std::pair<int, int> scoreAndBest[] = {
    { 0, 0 },          { 0, 9999999 },       { 7, 7 },             { 7, 1234 },
    { 1234, 1000 },    { 1234, 1235 },       { 99999, 99999 },     { 99999, 100000 },
    { 1000000, 1000000 }, { 4444444, 4444444 }, { 4444444, 8888888 }, { 8888888, 8888888 },
    { 8888888, 9999999 }, { 9999999, 9999999 }, { 9999998, 9999999 },
};

// The texts of the bottom line have neither descenders nor anything above
// the capitals, so the last row of their ink is their baseline, one for all.
// The credit line ends inside the screen rather than cut off at its edge.
TEST(HudLayout, NoTwoItemsMeetInAnyStateAndTheBottomLineSharesOneBaseline)
{
    // The generated pack, loaded as start-up loads it (no mixer here, so no
    // sound is looked for); once loaded, its folder is no longer needed.
    screen = openTestVideo();
    ASSERT_TRUE(screen);
    std::string pack = generatedPack(false);
    ASSERT_EQ(chdir(pack.c_str()), 0);
    loadAssets();
    ASSERT_EQ(chdir("/"), 0);
    removeTree(pack);
    ASSERT_TRUE(logoImage && smallShipImage && bigFont && tintedFont);

    EXPECT_LE(465 + textWidth(tintedFont, "%s", creditLine), 640);
    for (int l = -1; l <= 10; l++)
        for (int turn = 0; turn < (int)std::size(scoreAndBest); turn++) {
            auto [s, h] = scoreAndBest[turn];
            setState(l, s, h, turn);
            std::vector<Item> items = hudItems();
            SCOPED_TRACE(testing::Message() << "lives " << l << ", score " << s << ", best " << h);

            int baseline = -1;
            for (const Item &item : items) {
                const Box &box = measure(item);
                ASSERT_FALSE(box.empty()) << item.name << " draws nothing";
                int top = item.bottomLine ? bottomLineStart : 0;
                int bottom = item.bottomLine ? 479 : topLineEnd - 1;
                EXPECT_TRUE(box.y0 >= top && box.y1 <= bottom) << item.name << " leaves its HUD line: " << box;
                if (item.bottomLine && baseline < 0)
                    baseline = box.y1;
                EXPECT_TRUE(!item.bottomLine || box.y1 == baseline)
                    << item.name << " ends at row " << box.y1 << ", off the baseline at row " << baseline;
            }
            for (size_t a = 0; a < items.size(); a++)
                for (size_t b = a + 1; b < items.size(); b++) {
                    const Box &ba = measure(items[a]), &bb = measure(items[b]);
                    EXPECT_FALSE(ba.near(bb)) << items[a].name << " (" << ba << ") meets " << items[b].name
                                              << " (" << bb << ")";
                }

            // the frame draws these items, in this order, and nothing else
            // in its HUD lines
            SDL_FillRect(screen, NULL, 0);
            for (const Item &item : items)
                item.draw();
            std::vector<Uint32> byItems = screenPixels(true);
            SDL_FillRect(screen, NULL, SDL_MapRGB(screen->format, 255, 255, 255));   // last frame's leftovers
            renderFrame();
            EXPECT_TRUE(screenPixels(true) == byItems) << "HUD pixels the items do not account for";
            EXPECT_EQ(lives, l) << "drawing changed the lives";
        }
}

} // namespace
