#include "platform/signals.h"

#include <string.h>

volatile sig_atomic_t hangupRequested;

// Only a flag is set here: everything else waits for the next pass, on the
// main thread, where quitting is safe.
static void onHangup(int)
{
    hangupRequested = 1;
}

void catchHangup()
{
    struct sigaction sa;
    memset(&sa, 0, sizeof sa);
    sa.sa_handler = onHangup;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGHUP, &sa, NULL);
}

volatile sig_atomic_t stopRequested;

static void onStop(int)
{
    stopRequested = 1;
}

// Taken before the platform's own start-up, which then leaves them alone.
void catchStopSignals()
{
    static const int stops[] = { SIGINT, SIGTERM };
    for (int sig : stops) {
        struct sigaction old;
        if (sigaction(sig, NULL, &old) != 0 || old.sa_handler == SIG_IGN)
            continue;
        struct sigaction sa;
        memset(&sa, 0, sizeof sa);
        sa.sa_handler = onStop;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESTART;
        sigaction(sig, &sa, NULL);
    }
}

static void (*fileSizeHandler)(int);

void ignoreFileSizeSignal()
{
    fileSizeHandler = signal(SIGXFSZ, SIG_IGN);
}

void restoreFileSizeSignal()
{
    signal(SIGXFSZ, fileSizeHandler);
}
