// Quit signals are blocked in every thread and taken by one thread of their
// own with sigwait. The library's own handlers (SDL turns SIGINT and SIGTERM
// into a quit event) never run, and the signals are heard even while the
// main thread is stuck inside the library, for example waiting for an input
// grab that another full-screen program holds.
#include "platform/signals.h"

#include <pthread.h>
#include <signal.h>
#include <string.h>
#include <unistd.h>

std::atomic<int> quitSignalled;

static const int quitSignals[] = { SIGINT, SIGTERM, SIGHUP };
static void (*lastWishHook)();
static sigset_t takenSignals;

// Ends the process by sig itself, so that whoever started the game sees how
// it ended.
static void endBy(int sig)
{
    signal(sig, SIG_DFL);
    sigset_t one;
    sigemptyset(&one);
    sigaddset(&one, sig);
    pthread_sigmask(SIG_UNBLOCK, &one, NULL);
    raise(sig);
    _exit(128 + sig);
}

// A last wish that blocks is cut short after a second: SIGALRM's default
// action ends the process.
static void armDeadline()
{
    signal(SIGALRM, SIG_DFL);
    sigset_t alarmOnly;
    sigemptyset(&alarmOnly);
    sigaddset(&alarmOnly, SIGALRM);
    pthread_sigmask(SIG_UNBLOCK, &alarmOnly, NULL);
    alarm(1);
}

static void *watchQuitSignals(void *)
{
    for (;;) {
        int sig = 0;
        if (sigwait(&takenSignals, &sig) != 0)
            continue;
        // The first asks the game to quit; it does so at its next pass.
        if (quitSignalled.exchange(1) == 0)
            continue;
        armDeadline();
        if (lastWishHook)
            lastWishHook();
        endBy(sig);
    }
    return nullptr;
}

// Where no thread can be made: the first signal sets the flag, a second
// ends the process without a last wish (nothing else is safe in a handler).
static void onQuitSignal(int sig)
{
    if (quitSignalled.exchange(1) == 0)
        return;
    signal(sig, SIG_DFL);
    raise(sig);
}

void catchQuitSignals(void (*lastWish)())
{
    lastWishHook = lastWish;
    // A signal the game was started with ignored (a hang-up under nohup,
    // an interrupt in a background job) stays ignored.
    sigemptyset(&takenSignals);
    bool any = false;
    for (int sig : quitSignals) {
        struct sigaction old;
        if (sigaction(sig, NULL, &old) == 0 && old.sa_handler != SIG_IGN) {
            sigaddset(&takenSignals, sig);
            any = true;
        }
    }
    if (!any)
        return;
    pthread_sigmask(SIG_BLOCK, &takenSignals, NULL);
    pthread_t watcher;
    if (pthread_create(&watcher, NULL, watchQuitSignals, NULL) == 0) {
        pthread_detach(watcher);
        return;
    }
    struct sigaction sa;
    memset(&sa, 0, sizeof sa);
    sa.sa_handler = onQuitSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : quitSignals)
        if (sigismember(&takenSignals, sig))
            sigaction(sig, &sa, NULL);
    pthread_sigmask(SIG_UNBLOCK, &takenSignals, NULL);
}

void ignoreFileSizeSignal()
{
    signal(SIGXFSZ, SIG_IGN);
}
