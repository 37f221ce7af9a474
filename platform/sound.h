// Sound: the audio system and the mixer, started apart from video so that no
// sound problem ever keeps the game from starting.
#ifndef PLATFORM_SOUND_H
#define PLATFORM_SOUND_H

// Starts SDL's audio system and opens the mixer at 44100 Hz, 16-bit stereo.
// False, with the reason left in SDL_GetError, when either fails; the game
// then plays silent. ALSA's own complaints while a missing card is probed are
// kept off the terminal: the reason says what went wrong.
bool startSound();

#endif
