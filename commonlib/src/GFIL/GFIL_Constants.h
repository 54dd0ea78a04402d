#pragma once

#include <cstdint>

// Error codes of the file-system library (module 1158) and the mode bits given to create and
// open. The values are stored by callers and shown in reports, so they never change.

inline constexpr int GFIL_ERR_INVALID_PATH = 1158001; // invalid path or name, root has no parent
inline constexpr int GFIL_ERR_NOT_FOUND = 1158002;    // file or path not found
inline constexpr int GFIL_ERR_BUSY_OR_LOCKED = 1158003;
inline constexpr int GFIL_ERR_DISK_FULL = 1158004;
inline constexpr int GFIL_ERR_EXISTS = 1158005;
inline constexpr int GFIL_ERR_MAKE_DIRECTORY = 1158006;
inline constexpr int GFIL_ERR_OTHER = 1158007;

// Creation bits (create only).
inline constexpr std::uint32_t GFIL_MODE_OVERWRITE = 0x1;
inline constexpr std::uint32_t GFIL_MODE_TEMPORARY = 0x2;
inline constexpr std::uint32_t GFIL_MODE_CREATION_MASK = 0xFF;

// Access bits.
inline constexpr std::uint32_t GFIL_MODE_READ = 0x10000;
inline constexpr std::uint32_t GFIL_MODE_WRITE = 0x20000;
inline constexpr std::uint32_t GFIL_MODE_READ_WRITE = 0x30000;
inline constexpr std::uint32_t GFIL_MODE_ACCESS_MASK = 0xFF0000;

// Let other openers share the requested access and read the file as a sequential stream;
// without it the file is opened unshared and for random access.
inline constexpr std::uint32_t GFIL_MODE_SHARED_SEQUENTIAL = 0x100000;

// Size of read buffers when neither the file object nor the process chose one.
inline constexpr std::uint32_t GFIL_DEFAULT_BUFFER_SIZE = 32768;
