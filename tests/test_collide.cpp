// The hit test: inner 80 % boxes of frame 0, touching edges count.
#include <gtest/gtest.h>
#include "objects/collide.h"

// A loaded set whose frame i is sizes[i] pixels square.
static SpriteSet makeSet(std::initializer_list<int> sizes)
{
    SpriteSet set = {};
    set.frames = new SpriteFrame[sizes.size()]();
    for (int n : sizes)
        set.frames[set.frameCount++].surface = SDL_CreateRGBSurface(SDL_SWSURFACE, n, n, 32, 0, 0, 0, 0);
    set.loaded = 1;
    set.frameWidth = set.frameHeight = *sizes.begin();
    return set;
}

TEST(Collide, InnerBoxesOfFrameZeroTouchingCountsEitherWayRound)
{
    SpriteSet one = makeSet({ 1 }), ten = makeSet({ 10 }), twenty = makeSet({ 20 });
    SpriteSet growing = makeSet({ 10, 40 });   // frame 1 is larger than frame 0
    SpriteSet none = {}, unloaded = makeSet({ 10 });
    unloaded.loaded = 0;
    // Sprite a stands at (0, 0) showing frame aFrame; b stands at (bx, by).
    // Inner edges 9.0 and 9.0 touch, across and down; graphics overlapping
    // only in their outer 10 % do not hit (each pair is tried both ways
    // round, so this covers the other two sides too). Each sprite has its own
    // size: a 1x1 box (0.1..0.9) lies left of a 20x20 one's (2..18). Showing
    // the 40x40 frame 1 does not widen the box beyond frame 0's. A sprite
    // whose set did not load shows nothing and hits nothing, not even as a
    // point inside another sprite's box.
    struct Case { SpriteSet *a; int aFrame; SpriteSet *b; float bx, by; int hit; } cases[] = {
        { &ten, 0, &ten, 0.0f, 0.0f, 1 },      { &ten, 0, &ten, 8.0f, 0.0f, 1 },
        { &ten, 0, &ten, 0.0f, 8.0f, 1 },      { &ten, 0, &ten, 8.5f, 0.0f, 0 },
        { &ten, 0, &ten, 0.0f, 8.5f, 0 },      { &one, 0, &twenty, 0.0f, 0.0f, 0 },
        { &growing, 1, &ten, 20.0f, 0.0f, 0 }, { &growing, 1, &ten, 0.0f, 20.0f, 0 },
        { &growing, 1, &ten, 8.0f, 8.0f, 1 },  { &none, 0, &ten, -5.0f, -5.0f, 0 },
        { &unloaded, 0, &ten, 0.0f, 0.0f, 0 }, { &none, 0, &none, 0.0f, 0.0f, 0 },
    };
    for (const Case &c : cases) {
        Sprite a, b;
        a.init(c.a, nullptr);
        a.setFrame(c.aFrame);
        b.init(c.b, nullptr);
        b.setPos(c.bx, c.by);
        SCOPED_TRACE(testing::Message() << "b at " << c.bx << ", " << c.by);
        EXPECT_EQ(collide(a, b), c.hit);
        EXPECT_EQ(collide(b, a), c.hit);
    }
    unloaded.loaded = 1;
    for (SpriteSet *set : { &one, &ten, &twenty, &growing, &unloaded })
        freeSpriteSet(set);
}
