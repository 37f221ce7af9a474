// One whole frame: cleared, then drawn back to front and flipped. Nothing of
// the previous frame survives, and the order below is what decides what
// covers what.
#include "render/frame.h"

#include "world/world.h"
#include "core/version.h"
#include "render/backdrop.h"
#include "render/blit.h"
#include "platform/display.h"

const char creditLine[] = "DRIFTWING " DRIFTWING_VERSION;

// Logo, lives icons and every HUD text of the top and bottom lines.
static void drawHud()
{
    blitAt(logoImage, 0, 0, screen);
    // Icons run from x = 250 leftwards; the count text is drawn after them
    // and covers them where the two meet.
    for (int i = 0; i < lives; i++)
        blitAt(smallShipImage, 250 - 30 * i, 36, screen);
    // The game ends when lives fall below 0; the count then shows 0, never
    // a negative number of lives.
    drawText(screen, bigFont, 80, 36, "LIVES: %d", lives < 0 ? 0 : lives);
    drawText(screen, bigFont, 10, 460, "SCORE:");
    drawText(screen, bigFont, 100, 460, "%d", score);
    drawText(screen, bigFont, 200, 460, "HIGHSCORE:");
    if (paused != 0)
        drawText(screen, tintedFont, 400, 36, "PAUSED");
    // Once the score reaches the best, the best's place shows the score.
    if (highScore > score)
        drawText(screen, bigFont, 300, 460, "%d", highScore);
    else
        drawText(screen, bigFont, 300, 460, "%d NEW HIGHSCORE!!", score);
    if (godMode == 1)
        drawText(screen, tintedFont, 350, 36, "GOD");
    drawText(screen, tintedFont, 465, 460, "%s", creditLine);
}

// Bullets, enemies, the ship, clouds: each later group passes over the
// earlier ones.
static void drawSprites()
{
    for (int i = 0; i < maxBullets; i++)
        if (bulletActive[i] == 1)
            bullets[i].draw();
    for (int j = 0; j < maxEnemies; j++)
        if (enemyActive[j] == 1)
            enemies[j].draw();
    player.draw();
    for (int c = 0; c < maxClouds; c++)
        if (cloudActive[c] == 1)
            clouds[c].draw();
}

void renderFrame()
{
    if (!screen)
        return;
    SDL_FillRect(screen, NULL, 0);
    drawBackdrop();
    drawHud();
    drawSprites();
    drawFrontLayer();
    if (gameOver != 0)
        blitAt(gameOverImage, 192, 200, screen);
    presentFrame();
}
