#include "demo/statehash.h"

#include "world/world.h"
#include "game/loop.h"

Uint32 fnvBytes(Uint32 h, const void *data, size_t n)
{
    const Uint8 *p = (const Uint8 *)data;
    for (size_t i = 0; i < n; i++) {
        h ^= p[i];
        h *= 16777619u;
    }
    return h;
}

template <typename T> static Uint32 mix(Uint32 h, T v) { return fnvBytes(h, &v, sizeof v); }

static Uint32 mixSprite(Uint32 h, const Sprite &s)
{
    h = mix(h, s.getX());
    h = mix(h, s.getY());
    h = mix(h, s.getFrame());
    h = mix(h, s.isAnimating());
    h = mix(h, s.getDelayFactor());
    return mix(h, s.getLastFrameTicks());
}

Uint32 rulesHash()
{
    Uint32 h = fnvStart;
    h = mix(h, distance);
    h = mix(h, frameStep);
    h = mix(h, lastTicks);
    h = mix(h, nowTicks);
    h = mix(h, lastHitAt);
    h = mix(h, lastSpawnAt);
    h = mix(h, scrollX);
    h = mix(h, frontScrollX);
    int flags[] = { score, highScore, lives, gameOver, paused, godMode };
    h = fnvBytes(h, flags, sizeof flags);
    h = mixSprite(h, player);
    double carry[4];
    shipCarries(carry);
    h = fnvBytes(h, carry, sizeof carry);
    for (int i = 0; i < maxBullets; i++) {
        h = mix(h, bulletActive[i]);
        h = mixSprite(h, bullets[i]);
    }
    for (int j = 0; j < maxEnemies; j++) {
        int slot[] = { enemyActive[j], enemySpeed[j], enemyHealth[j], enemyWave[j] };
        h = fnvBytes(h, slot, sizeof slot);
        h = mixSprite(h, enemies[j]);
    }
    for (int c = 0; c < maxClouds; c++) {
        int slot[] = { cloudActive[c], cloudSpeed[c] };
        h = fnvBytes(h, slot, sizeof slot);
        h = mixSprite(h, clouds[c]);
    }
    return h;
}

Uint32 pixelHash(SDL_Surface *s)
{
    if (!s)
        return 0;
    Uint32 h = fnvStart;
    SDL_LockSurface(s);
    size_t row = (size_t)s->w * s->format->BytesPerPixel;
    for (int y = 0; y < s->h; y++)
        h = fnvBytes(h, (const Uint8 *)s->pixels + (size_t)y * s->pitch, row);
    SDL_UnlockSurface(s);
    return h;
}
