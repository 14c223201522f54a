// Whether the test runs with a sanitizer's allocator: it keeps a heap and an address space of its own,
// so tests that look at the C library's heap or limit the address space do not apply.
#pragma once

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kKXSanitizerAllocator = true;
#elif defined(__has_feature)
inline constexpr bool kKXSanitizerAllocator = __has_feature(address_sanitizer);
#else
inline constexpr bool kKXSanitizerAllocator = false;
#endif
