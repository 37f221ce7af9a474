#ifndef OBJECTS_COLLIDE_H
#define OBJECTS_COLLIDE_H

#include "objects/sprite.h"

// 1 when the inner 80 % boxes of a and b overlap or touch, else 0.
int collide(const Sprite &a, const Sprite &b);

#endif
