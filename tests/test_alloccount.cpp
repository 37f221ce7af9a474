// The allocation counter itself: it must see what the play tests rely on it
// to see, or their zero would prove nothing.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string.h>
#include <vector>
#include <SDL.h>
#include "tests/alloccount.h"

// Kept where the compiler must assume it is read, so no allocation below can
// be optimised away.
void *volatile escaped;

TEST(AllocationCount, SeesMallocNewAndContainerGrowthButNotTheLibrarys)
{
    long before = allocationCount();
    escaped = malloc(64);
    EXPECT_EQ(allocationCount(), before + 1);
    free(escaped);
    escaped = new int[8];
    EXPECT_EQ(allocationCount(), before + 2);
    delete[] (int *)escaped;
    escaped = strdup("driftwing");
    EXPECT_EQ(allocationCount(), before + 3);
    free(escaped);

    std::vector<int> v;
    v.push_back(1);
    escaped = v.data();
    EXPECT_EQ(allocationCount(), before + 4);

    // Work on the stack alone counts nothing.
    char local[64];
    memset(local, 1, sizeof local);
    escaped = local;
    EXPECT_EQ(allocationCount(), before + 4);

    // What SDL allocates for itself counts as the library's, not the
    // program's; the program's own malloc beside it still counts as its own.
    long library = libraryAllocationCount();
    SDL_Surface *s = SDL_CreateRGBSurface(SDL_SWSURFACE, 8, 8, 32, 0, 0, 0, 0);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(allocationCount(), before + 4);
    EXPECT_GT(libraryAllocationCount(), library);
    SDL_FreeSurface(s);

    library = libraryAllocationCount();
    escaped = malloc(16);
    free(escaped);
    EXPECT_EQ(allocationCount(), before + 5);
    EXPECT_EQ(libraryAllocationCount(), library);
}
