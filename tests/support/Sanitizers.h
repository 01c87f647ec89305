#pragma once

// Whether the test binary was built under a sanitizer, whose runtime brings
// its own allocator and address-space reservations.

// GCC names a sanitizer by a macro; clang answers __has_feature.
#if defined(__has_feature)
#define ZEF_HAS_FEATURE(name) __has_feature(name)
#else
#define ZEF_HAS_FEATURE(name) 0
#endif

namespace zef::test {

#if defined(__SANITIZE_ADDRESS__) || ZEF_HAS_FEATURE(address_sanitizer)
constexpr bool AddressSanitized = true;
#else
constexpr bool AddressSanitized = false;
#endif

#if defined(__SANITIZE_THREAD__) || ZEF_HAS_FEATURE(thread_sanitizer)
constexpr bool ThreadSanitized = true;
#else
constexpr bool ThreadSanitized = false;
#endif

} // namespace zef::test
