// Under AddressSanitizer the sanitizer owns malloc, so its allocation hook is
// used; otherwise malloc and its kin are interposed here and passed on to the
// C library's own entry points.
#include "tests/alloccount.h"

#include <stddef.h>
#include <stdlib.h>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define COUNT_WITH_HOOK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define COUNT_WITH_HOOK 1
#endif
#endif

static volatile long allocations;

long allocationCount() { return allocations; }

#ifdef COUNT_WITH_HOOK
// Declared here rather than taken from <sanitizer/allocator_interface.h>,
// which only clang installs; GCC's runtime has the same entry point.
extern "C" int __sanitizer_install_malloc_and_free_hooks(
    void (*onMalloc)(const volatile void *, size_t), void (*onFree)(const volatile void *));

static void onMalloc(const volatile void *, size_t) { allocations = allocations + 1; }
static void onFree(const volatile void *) {}

static int installHook()
{
    __sanitizer_install_malloc_and_free_hooks(onMalloc, onFree);
    return 0;
}
static int hookInstalled = installHook();

#else

extern "C" {
void *__libc_malloc(size_t);
void *__libc_calloc(size_t, size_t);
void *__libc_realloc(void *, size_t);
void *__libc_memalign(size_t, size_t);
void __libc_free(void *);

void *malloc(size_t n)
{
    allocations = allocations + 1;
    return __libc_malloc(n);
}

void *calloc(size_t n, size_t size)
{
    allocations = allocations + 1;
    return __libc_calloc(n, size);
}

void *realloc(void *p, size_t n)
{
    allocations = allocations + 1;
    return __libc_realloc(p, n);
}

void *memalign(size_t align, size_t n)
{
    allocations = allocations + 1;
    return __libc_memalign(align, n);
}

void *aligned_alloc(size_t align, size_t n)
{
    return memalign(align, n);
}

int posix_memalign(void **out, size_t align, size_t n)
{
    void *p = memalign(align, n);
    if (!p)
        return 12;  // ENOMEM
    *out = p;
    return 0;
}

void free(void *p) { __libc_free(p); }
}

// operator new goes to malloc in the C++ library already; counting it here
// as well keeps the count right however the library is built.
void *operator new(size_t n)
{
    allocations = allocations + 1;
    void *p = __libc_malloc(n ? n : 1);
    if (!p)
        throw std::bad_alloc();
    return p;
}
void *operator new[](size_t n) { return operator new(n); }
void *operator new(size_t n, const std::nothrow_t &) noexcept
{
    allocations = allocations + 1;
    return __libc_malloc(n ? n : 1);
}
void *operator new[](size_t n, const std::nothrow_t &t) noexcept { return operator new(n, t); }
void operator delete(void *p) noexcept { __libc_free(p); }
void operator delete[](void *p) noexcept { __libc_free(p); }
void operator delete(void *p, size_t) noexcept { __libc_free(p); }
void operator delete[](void *p, size_t) noexcept { __libc_free(p); }

#endif
