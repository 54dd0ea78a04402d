#include "GLIB/GLIB_Memory.h"

#include "GLIB/GLIB_Globals.h"

#include <cstdlib>

void* TrackedAlloc(std::size_t bytes, int line, const char* sourceFile)
{
    // A zero-byte request still gets a distinct block, as operator new would give.
    void* memory = std::malloc(bytes ? bytes : 1);
    if (!memory)
        GLIB_Globals::Instance().ReportOutOfMemory(bytes, sourceFile ? sourceFile : "", line);
    return memory;
}

void TrackedFree(void* pointer, int /*line*/, const char* /*sourceFile*/)
{
    std::free(pointer);
}

void* GLIB_TrackedObject::operator new(std::size_t bytes)
{
    void* memory = TrackedAlloc(bytes, __LINE__, __FILE__);
    if (!memory)
        throw std::bad_alloc();
    return memory;
}

void GLIB_TrackedObject::operator delete(void* pointer) noexcept
{
    TrackedFree(pointer, __LINE__, __FILE__);
}
