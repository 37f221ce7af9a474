// Under AddressSanitizer the sanitizer owns malloc, so its allocation hook is
// used; otherwise malloc and its kin are interposed here and passed on to the
// C library's own entry points.
//
// Each allocation is put down to whoever asked for it: the call stack is
// walked outward from the allocator, passing over the C and C++ runtime (and
// the sanitizers' own frames), and the first frame left decides. In this
// program's own code it is the game's (or the test's); in any other shared
// library (SDL, SDL_mixer, the X and GL libraries under them) it is that
// library's; a stack that never reaches this program is a thread the
// library started (the audio mixer's).
#include "tests/alloccount.h"

#include <dlfcn.h>
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <unwind.h>
#include <initializer_list>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define COUNT_WITH_HOOK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define COUNT_WITH_HOOK 1
#endif
#endif

static volatile long gameAllocations;
static volatile long libraryAllocations;

long allocationCount() { return gameAllocations; }
long libraryAllocationCount() { return libraryAllocations; }

// This program's code, from the linker's own symbols.
extern "C" char __executable_start, etext;
static bool inProgram(uintptr_t pc)
{
    return pc >= (uintptr_t)&__executable_start && pc < (uintptr_t)&etext;
}

// The runtime every caller goes through: the C library, the C++ library and
// its unwinder, the loader, the sanitizers. Its frames decide nothing.
static bool runtimeLibrary(const char *path)
{
    for (const char *n : { "/libc.so", "/libstdc++.so", "/libgcc_s.so", "/libm.so", "/ld-linux",
                           "/libasan.so", "/libubsan.so" })
        if (strstr(path, n))
            return true;
    return false;
}

enum Owner { ownerUnknown, ownerGame, ownerLibrary };

// Whether the shared object holding pc is part of the runtime, remembered
// per object: the first few dozen objects seen are plenty.
static bool runtimeFrame(uintptr_t pc)
{
    static struct { const void *base; bool runtime; } seen[64];
    static int seenCount;
    Dl_info info;
    if (!dladdr((void *)pc, &info) || !info.dli_fname)
        return false;
    for (int i = 0; i < seenCount; i++)
        if (seen[i].base == info.dli_fbase)
            return seen[i].runtime;
    bool runtime = runtimeLibrary(info.dli_fname);
    if (seenCount < 64)
        seen[seenCount++] = { info.dli_fbase, runtime };
    return runtime;
}

struct Walk {
    bool leftCounter;   // past this file's own frames at the top
    Owner owner;
};

static _Unwind_Reason_Code visitFrame(struct _Unwind_Context *context, void *arg)
{
    Walk *walk = (Walk *)arg;
    uintptr_t pc = _Unwind_GetIP(context);
    if (!pc)
        return _URC_END_OF_STACK;
    if (inProgram(pc)) {
        if (!walk->leftCounter)
            return _URC_NO_REASON;
        walk->owner = ownerGame;
        return _URC_END_OF_STACK;
    }
    walk->leftCounter = true;
    if (runtimeFrame(pc))
        return _URC_NO_REASON;
    walk->owner = ownerLibrary;
    return _URC_END_OF_STACK;
}

// Allocations made while an allocation is being put down (the unwinder's or
// the loader's own) are not counted.
static thread_local bool counting;

// Whether a direct caller of the allocator is runtime code, remembered by
// address: a library's own call site decides at once, without a walk. One
// word an entry (address * 2 + runtime), so threads never see half of one.
static bool runtimeCaller(uintptr_t caller)
{
    static uint64_t known[256];
    uint64_t *slot = &known[(caller >> 3) & 255];
    uint64_t entry = __atomic_load_n(slot, __ATOMIC_RELAXED);
    if (entry >> 1 == caller)
        return entry & 1;
    bool runtime = runtimeFrame(caller);
    __atomic_store_n(slot, (uint64_t)caller << 1 | runtime, __ATOMIC_RELAXED);
    return runtime;
}

// caller: the allocator's return address when it is known to be the
// interposed function's direct caller, 0 otherwise.
static void countAllocation(uintptr_t caller)
{
    if (caller && inProgram(caller)) {
        gameAllocations = gameAllocations + 1;
        return;
    }
    if (counting)
        return;
    counting = true;
    // A library's own call site decides at once; otherwise the stack does,
    // from the first frame outside this file.
    Owner owner = ownerLibrary;
    if (!caller || runtimeCaller(caller)) {
        Walk walk = { false, ownerUnknown };
        _Unwind_Backtrace(visitFrame, &walk);
        owner = walk.owner;
    }
    if (owner == ownerGame)
        gameAllocations = gameAllocations + 1;
    else
        libraryAllocations = libraryAllocations + 1;
    counting = false;
}

#define CALLER ((uintptr_t)__builtin_extract_return_addr(__builtin_return_address(0)))

#ifdef COUNT_WITH_HOOK
// Declared here rather than taken from <sanitizer/allocator_interface.h>,
// which only clang installs; GCC's runtime has the same entry point.
extern "C" int __sanitizer_install_malloc_and_free_hooks(
    void (*onMalloc)(const volatile void *, size_t), void (*onFree)(const volatile void *));

static void onMalloc(const volatile void *, size_t) { countAllocation(0); }
static void onFree(const volatile void *) {}
static int hookInstalled = __sanitizer_install_malloc_and_free_hooks(onMalloc, onFree);

#else

extern "C" {
void *__libc_malloc(size_t);
void *__libc_calloc(size_t, size_t);
void *__libc_realloc(void *, size_t);
void *__libc_memalign(size_t, size_t);
void __libc_free(void *);

void *malloc(size_t n) { countAllocation(CALLER); return __libc_malloc(n); }
void *calloc(size_t n, size_t size) { countAllocation(CALLER); return __libc_calloc(n, size); }
void *realloc(void *p, size_t n) { countAllocation(CALLER); return __libc_realloc(p, n); }
void *memalign(size_t align, size_t n) { countAllocation(CALLER); return __libc_memalign(align, n); }
void *aligned_alloc(size_t align, size_t n) { countAllocation(CALLER); return __libc_memalign(align, n); }
int posix_memalign(void **out, size_t align, size_t n)
{
    countAllocation(CALLER);
    void *p = __libc_memalign(align, n);
    if (!p)
        return 12;  // ENOMEM
    *out = p;
    return 0;
}
void free(void *p) { __libc_free(p); }
}

// operator new goes to malloc in the C++ library already; counting it here
// as well keeps the count right however the library is built. Libraries
// written in C++ (the GL drivers) come here too.
static void *newAllocation(size_t n, uintptr_t caller)
{
    countAllocation(caller);
    return __libc_malloc(n ? n : 1);
}
void *operator new(size_t n) { void *p = newAllocation(n, CALLER); if (!p) throw std::bad_alloc(); return p; }
void *operator new[](size_t n) { void *p = newAllocation(n, CALLER); if (!p) throw std::bad_alloc(); return p; }
void *operator new(size_t n, const std::nothrow_t &) noexcept { return newAllocation(n, CALLER); }
void *operator new[](size_t n, const std::nothrow_t &) noexcept { return newAllocation(n, CALLER); }
void operator delete(void *p) noexcept { __libc_free(p); }
void operator delete[](void *p) noexcept { __libc_free(p); }
void operator delete(void *p, size_t) noexcept { __libc_free(p); }
void operator delete[](void *p, size_t) noexcept { __libc_free(p); }

#endif
