// The running SDL 2 and SDL2_mixer.
#include "platform/sdlversion.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <stdio.h>

void describeSdl(char *out, size_t size)
{
    SDL_version sdl, builtSdl, builtMixer;
    SDL_GetVersion(&sdl);
    SDL_VERSION(&builtSdl);
    SDL_MIXER_VERSION(&builtMixer);
    const SDL_version *mixer = Mix_Linked_Version();
    snprintf(out, size, "SDL %d.%d.%d (built against %d.%d.%d), SDL_mixer %d.%d.%d (built against %d.%d.%d)",
             sdl.major, sdl.minor, sdl.patch, builtSdl.major, builtSdl.minor, builtSdl.patch,
             mixer->major, mixer->minor, mixer->patch, builtMixer.major, builtMixer.minor,
             builtMixer.patch);
}
