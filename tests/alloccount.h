// Counts heap allocations made by this process: malloc, calloc, realloc,
// the aligned forms and operator new. Linked only into the test programs
// that check that a stretch of play allocates nothing.
#ifndef TESTS_ALLOCCOUNT_H
#define TESTS_ALLOCCOUNT_H

// Allocations the program's own code made since the process started: the
// game's and the test's, directly or through the C and C++ runtime.
long allocationCount();

// Allocations made inside a shared library's code (SDL's flip and event
// pump, the mixer, the X and GL libraries under them) or on a thread a
// library started. Measured and reported, never the game's to answer for.
long libraryAllocationCount();

#endif
