// Constants of the demo file shared by its reader and writer.
#ifndef DEMO_DEMOFORMAT_H
#define DEMO_DEMOFORMAT_H

#include <SDL.h>

const Uint8 demoMagic[8] = { 'D', 'W', 'D', 'E', 'M', 'O', '\r', '\n' };
const int deltaInline = 15;
const Uint8 flagHeld = 1 << 4, flagEvents = 1 << 5, flagClocks = 1 << 6;
const Uint8 trailerByte = 0x80;

#endif
