#include "app/HeapRetention.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <malloc.h>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define ZEF_OWN_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define ZEF_OWN_ALLOCATOR 1
#endif
#endif

namespace {

// A buffer of a few MiB, the size of a large document's text, comes from the
// heap, and freeing it neither unmaps nor trims it: the next one reuses the
// pages.
TEST(HeapRetention, KeepsMidSizedBuffersInTheHeap)
{
#ifdef ZEF_OWN_ALLOCATOR
    GTEST_SKIP() << "the sanitizer's allocator ignores the C library's settings";
#endif
    KILN::retainFreedHeap();
    constexpr std::size_t Bytes = std::size_t{8} << 20;
    const struct mallinfo2 before = mallinfo2();
    char* buffer = static_cast<char*>(std::malloc(Bytes));
    ASSERT_NE(buffer, nullptr);
    std::memset(buffer, 1, Bytes);
    const struct mallinfo2 holding = mallinfo2();
    EXPECT_EQ(holding.hblks, before.hblks) << "no mapping of its own";
    std::free(buffer);
    const struct mallinfo2 after = mallinfo2();
    EXPECT_GE(after.arena, Bytes) << "the heap keeps the freed pages";
    EXPECT_GE(after.fordblks, Bytes);
}

} // namespace
