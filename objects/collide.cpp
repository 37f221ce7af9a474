#include "objects/collide.h"

// The inner box of a sprite: the middle 80 % of frame 0's size in each
// direction, so that a hit needs more than a brush of the outer edges.
struct InnerBox {
    double left, right, top, bottom;
};

static InnerBox innerBox(const Sprite &s)
{
    InnerBox b;
    b.left = (double)s.getX() + 0.1 * s.getW();
    b.right = (double)s.getX() + 0.9 * s.getW();
    b.top = (double)s.getY() + 0.1 * s.getH();
    b.bottom = (double)s.getY() + 0.9 * s.getH();
    return b;
}

int collide(const Sprite &a, const Sprite &b)
{
    // A sprite whose set did not load shows nothing, so nothing can touch
    // it: a missing enemy set must not make invisible enemies that cost lives.
    if (a.getW() <= 0 || a.getH() <= 0 || b.getW() <= 0 || b.getH() <= 0)
        return 0;
    InnerBox ba = innerBox(a);
    InnerBox bb = innerBox(b);
    // Edges lying exactly on each other count as touching.
    if (ba.bottom < bb.top)
        return 0;
    if (ba.top > bb.bottom)
        return 0;
    if (ba.right < bb.left)
        return 0;
    if (ba.left > bb.right)
        return 0;
    return 1;
}
