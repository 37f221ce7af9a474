// Counts heap allocations made by this process: malloc, calloc, realloc,
// the aligned forms and operator new. Linked only into the test programs
// that check that a stretch of play allocates nothing.
#ifndef TESTS_ALLOCCOUNT_H
#define TESTS_ALLOCCOUNT_H

// Allocations made since the process started.
long allocationCount();

#endif
