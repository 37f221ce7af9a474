// The hit test: inner 80 % boxes of frame 0, touching edges count.
#include <gtest/gtest.h>
#include "objects/collide.h"

// A set whose frame i is sizes[i] x sizes[i] pixels.
static SpriteSet makeSet(std::initializer_list<int> sizes)
{
    SpriteSet set = {};
    set.frames = new SpriteFrame[sizes.size()];
    int i = 0;
    for (int n : sizes) {
        set.frames[i].surface = SDL_CreateRGBSurface(SDL_SWSURFACE, n, n, 32, 0, 0, 0, 0);
        set.frames[i].delay = 100;
        i++;
    }
    set.loaded = 1;
    set.frameCount = i;
    set.frameWidth = *sizes.begin();
    set.frameHeight = *sizes.begin();
    return set;
}

static Sprite at(SpriteSet *set, float x, float y)
{
    Sprite s;
    s.init(set, nullptr);
    s.setPos(x, y);
    return s;
}

// collide must give the same answer both ways round.
static int hit(const Sprite &a, const Sprite &b)
{
    int ab = collide(a, b);
    EXPECT_EQ(ab, collide(b, a));
    return ab;
}

TEST(Collide, InnerBoxesTouchingCountAndOuterMarginsDoNot)
{
    SpriteSet ten = makeSet({ 10 });
    Sprite a = at(&ten, 0.0f, 0.0f);
    EXPECT_EQ(hit(a, at(&ten, 0.0f, 0.0f)), 1);
    // Right edge 9.0 against left edge 9.0, across and down.
    EXPECT_EQ(hit(a, at(&ten, 8.0f, 0.0f)), 1);
    EXPECT_EQ(hit(a, at(&ten, 0.0f, 8.0f)), 1);
    EXPECT_EQ(hit(a, at(&ten, -8.0f, -8.0f)), 1);
    // Graphics that overlap only in the outer 10 % do not hit.
    EXPECT_EQ(hit(a, at(&ten, 8.5f, 0.0f)), 0);
    EXPECT_EQ(hit(a, at(&ten, 9.5f, 0.0f)), 0);
    EXPECT_EQ(hit(a, at(&ten, 0.0f, 8.5f)), 0);
    EXPECT_EQ(hit(a, at(&ten, -8.5f, 0.0f)), 0);
    EXPECT_EQ(hit(a, at(&ten, 0.0f, -8.5f)), 0);
}

TEST(Collide, SizesComeFromFrameZeroWhateverFrameShows)
{
    SpriteSet one = makeSet({ 1 });
    SpriteSet twenty = makeSet({ 20 });
    // Right edge 0.9 lies left of the other's left edge 2.0.
    EXPECT_EQ(hit(at(&one, 0.0f, 0.0f), at(&twenty, 0.0f, 0.0f)), 0);
    EXPECT_EQ(hit(at(&one, 10.0f, 10.0f), at(&twenty, 0.0f, 0.0f)), 1);

    // A 10x10 frame 0 followed by a 40x40 frame 1: showing frame 1 does
    // not widen the box.
    SpriteSet growing = makeSet({ 10, 40 });
    SpriteSet ten = makeSet({ 10 });
    Sprite big = at(&growing, 0.0f, 0.0f);
    big.setFrame(1);
    EXPECT_EQ(big.getW(), 10);
    EXPECT_EQ(big.getH(), 10);
    EXPECT_EQ(hit(big, at(&ten, 20.0f, 20.0f)), 0);
    EXPECT_EQ(hit(big, at(&ten, 8.0f, 8.0f)), 1);
}
