// A web page gets no signals: the browser ends a page by closing it, and
// there are no threads to take signals or file-size limits to run into.
// The flag stays, so the live input reads as on the desktop.
#include "platform/signals.h"

std::atomic<int> quitSignalled;

void catchQuitSignals(void (*)())
{
}

void ignoreFileSizeSignal()
{
}

