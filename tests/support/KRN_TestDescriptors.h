#pragma once
// The descriptors the process holds open, counted in /proc/self/fd: the suites check that what
// a closed view or window used is given back.

#include <cstddef>
#include <filesystem>

inline std::size_t KRN_TestOpenDescriptors()
{
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

// Whether a test may leave the process without a free descriptor. The undefined-behaviour
// checker of the address-sanitizer build tests memory through a pipe before it trusts an
// object's type, so with no descriptor left it reports every virtual call it has not seen
// before as a call on an invalid object; those tests run in the other builds.
#if defined(__SANITIZE_ADDRESS__)
#define KRN_TEST_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KRN_TEST_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(KRN_TEST_ADDRESS_SANITIZER)
inline constexpr bool KRN_kDescriptorsMayRunOut = false;
#else
inline constexpr bool KRN_kDescriptorsMayRunOut = true;
#endif
