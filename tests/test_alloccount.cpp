// The allocation counter itself: it must see what the play tests rely on it
// to see, or their zero would prove nothing.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string.h>
#include <vector>
#include "tests/alloccount.h"

// Kept where the compiler must assume it is read, so no allocation below can
// be optimised away.
void *volatile escaped;

TEST(AllocationCount, SeesMallocNewAndContainerGrowth)
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
}
