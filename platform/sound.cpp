// Sound start-up, the same on both SDLs.
#include "platform/sound.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>

// ALSA prints a line on standard error for every device it fails to open
// while SDL probes for sound, eight on a machine without a card. It has a
// handler for those lines; the game sets one that drops them for as long as
// sound starts, and puts ALSA's own back afterwards. ALSA is looked up at run
// time: a system without it loses nothing, and the game does not depend on it.
typedef void (*AlsaErrorHandler)(const char *file, int line, const char *function, int err,
                                 const char *fmt, ...);
typedef int (*AlsaSetHandler)(AlsaErrorHandler handler);

static void dropAlsaMessage(const char *, int, const char *, int, const char *, ...)
{
}

static AlsaSetHandler alsaSetHandler()
{
    // Only an SDL built with ALSA probes it (a web page's SDL has no ALSA,
    // and no dlopen either).
#ifdef SDL_AUDIO_DRIVER_ALSA
    // Kept open: SDL loads the same library, and the handler lives in it.
    static void *alsa = dlopen("libasound.so.2", RTLD_LAZY);
    return alsa ? (AlsaSetHandler)dlsym(alsa, "snd_lib_error_set_handler") : nullptr;
#else
    return nullptr;
#endif
}

bool startSound()
{
    AlsaSetHandler setHandler = alsaSetHandler();
    if (setHandler)
        setHandler(dropAlsaMessage);
    bool open = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0
                && Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 2048) == 0;
    if (setHandler)
        setHandler(nullptr);
    return open;
}
