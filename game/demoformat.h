// Constants of the demo file shared by its reader and writer.
#ifndef GAME_DEMOFORMAT_H
#define GAME_DEMOFORMAT_H

#include <SDL/SDL.h>

const Uint8 demoMagic[8] = { 'D', 'W', 'D', 'E', 'M', 'O', '\r', '\n' };
const int deltaInline = 15;
const Uint8 flagHeld = 1 << 4, flagEvents = 1 << 5, flagClocks = 1 << 6;
const Uint8 trailerByte = 0x80;

#endif
