#include "GFIL/GFIL_FileSystem.h"

namespace
{
std::uint32_t g_defaultBufferSize = GFIL_DEFAULT_BUFFER_SIZE;
}

GFIL_FileSystem::~GFIL_FileSystem() = default;

// Slots 18, 19, 23 and 24 have no behaviour on any platform this runs on; they keep their
// places so that the slot order stays as it is.
void GFIL_FileSystem::ReservedSlot18(std::uint64_t, std::uint64_t) {}

void GFIL_FileSystem::ReservedSlot19() {}

bool GFIL_FileSystem::ReservedSlot23() const
{
    return false;
}

void GFIL_FileSystem::ReservedSlot24() {}

void GFIL_FileSystem::SetDefaultBufferSize(std::uint32_t size) noexcept
{
    g_defaultBufferSize = size == 0 ? GFIL_DEFAULT_BUFFER_SIZE : size;
}

std::uint32_t GFIL_FileSystem::DefaultBufferSize() noexcept
{
    return g_defaultBufferSize;
}
