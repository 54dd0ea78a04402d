#pragma once

#include <cstddef>
#include <new>
#include <utility>

// Tracked allocation: every object of the library is allocated through here so that an
// allocation failure reaches the process's out-of-memory handler with the place that asked.
//
// On failure the handler of GLIB_Globals is called with (bytes, sourceFile, line); the default
// handler releases the reserve block and throws GLIB_BadAllocException. If a replaced handler
// returns, the result is null.
void* TrackedAlloc(std::size_t bytes, int line, const char* sourceFile);
// Releases a block of TrackedAlloc; null is accepted.
void TrackedFree(void* pointer, int line, const char* sourceFile);

#define GLIB_TRACKED_ALLOC(bytes) TrackedAlloc((bytes), __LINE__, __FILE__)
#define GLIB_TRACKED_FREE(pointer) TrackedFree((pointer), __LINE__, __FILE__)

// Constructs an object in tracked memory. Throws std::bad_alloc when the out-of-memory handler
// returns instead of throwing, so that a null object never escapes.
template <class T, class... Args>
T* TrackedNew(int line, const char* sourceFile, Args&&... args)
{
    void* memory = TrackedAlloc(sizeof(T), line, sourceFile);
    if (!memory)
        throw std::bad_alloc();
    try
    {
        return ::new (memory) T(std::forward<Args>(args)...);
    }
    catch (...)
    {
        TrackedFree(memory, line, sourceFile);
        throw;
    }
}

// Destroys an object made by TrackedNew with exactly this type (not through a base pointer).
template <class T>
void TrackedDelete(T* object, int line, const char* sourceFile)
{
    if (!object)
        return;
    object->~T();
    TrackedFree(object, line, sourceFile);
}

// Class-level allocation through TrackedAlloc; a polymorphic base that derives from this is
// created with plain new and deleted through the base with its virtual destructor.
struct GLIB_TrackedObject
{
    static void* operator new(std::size_t bytes);
    static void operator delete(void* pointer) noexcept;
};
