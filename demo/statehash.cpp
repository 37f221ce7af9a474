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
    const SDL_PixelFormat *f = s->format;
    if (f->BytesPerPixel == 4 && f->Amask == 0) {
        // The byte that no colour uses counts as 0: SDL 1.2 leaves it so,
        // while SDL 2's alpha blits write into it. It is never shown.
        Uint32 used = f->Rmask | f->Gmask | f->Bmask;
        for (int y = 0; y < s->h; y++) {
            const Uint32 *p = (const Uint32 *)((const Uint8 *)s->pixels + (size_t)y * s->pitch);
            for (int x = 0; x < s->w; x++) {
                Uint32 v = p[x] & used;
                h = fnvBytes(h, &v, sizeof v);
            }
        }
    } else {
        size_t row = (size_t)s->w * f->BytesPerPixel;
        for (int y = 0; y < s->h; y++)
            h = fnvBytes(h, (const Uint8 *)s->pixels + (size_t)y * s->pitch, row);
    }
    SDL_UnlockSurface(s);
    return h;
}
