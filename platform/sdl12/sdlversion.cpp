// The running SDL 1.2: the classic library or the compatibility library on
// SDL 2, which numbers its versions from 1.2.50 on.
#include "platform/sdlversion.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <stdio.h>

void describeSdl(char *out, size_t size)
{
    const SDL_version *sdl = SDL_Linked_Version();
    const SDL_version *mixer = Mix_Linked_Version();
    SDL_version builtSdl, builtMixer;
    SDL_VERSION(&builtSdl);
    MIX_VERSION(&builtMixer);
    bool compat = SDL_VERSIONNUM(sdl->major, sdl->minor, sdl->patch) >= SDL_VERSIONNUM(1, 2, 50);
    snprintf(out, size, "SDL %d.%d.%d%s (built against %d.%d.%d), SDL_mixer %d.%d.%d (built against %d.%d.%d)",
             sdl->major, sdl->minor, sdl->patch, compat ? " as sdl12-compat over SDL 2" : "",
             builtSdl.major, builtSdl.minor, builtSdl.patch, mixer->major, mixer->minor, mixer->patch,
             builtMixer.major, builtMixer.minor, builtMixer.patch);
}
