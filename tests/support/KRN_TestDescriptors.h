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
