#pragma once
// What the tag extender keeps for each libtiff handle, and the process-wide libtiff set-up. Only
// the reader and writer of this library use it.

#include "TIFX/TIFX_KRNDirectoryInfo.h"

#include <tiffio.h>

#include <cstdint>
#include <string>

struct TIFX_HandleState
{
    KRNDirectoryInfo info;
    TIFFVSetMethod parentSetField = nullptr;
    TIFFPrintMethod parentPrint = nullptr;
    bool printReplaced = false;
    // The private lines of the directory report appear only for directories that held a private
    // tag, as they always have.
    bool privateFieldsHandled = false;
    // Bits 90 to 94 (the embedded directory and the reserved tags), as bits 0 to 4.
    uint32_t libraryFields = 0;
    // Set while the embedded directory is decoded, so that one nested inside it is not followed.
    bool decodingQuorIFD = false;
    // The file descriptor behind the handle, for reading out-of-line values of the embedded
    // directory; known before libtiff reads the first directory.
    int fd = -1;

    bool HasLibraryField(unsigned bit) const
    {
        return bit >= 90 && bit <= 94 && ((libraryFields >> (bit - 90)) & 1u);
    }
};

// No private array holds anywhere near this many values (per-page arrays hold one per page, at
// most 65535; clip paths a few thousand points). Larger ones are refused, so that a crafted file
// cannot make the reader build millions of empty paths or read the same bytes over and over.
constexpr uint64_t TIFX_kMaxPrivateValues = uint64_t{4} << 20;
// Out-of-line bytes read for one embedded directory, in all.
constexpr uint64_t TIFX_kMaxPrivateDirectoryBytes = uint64_t{16} << 20;

// A value handed to the private set-field path: `count` elements of `type` in host byte order.
struct TIFX_FieldValue
{
    TIFFDataType type = TIFF_NOTYPE;
    uint64_t count = 0;
    const void* data = nullptr;

    // Element i converted to an integer or a float; 0 past the end or for non-numeric types.
    int64_t Integer(uint64_t i) const;
    float Float(uint64_t i) const;
    bool IsNumeric() const;
};

// Installs the tag extender and the error and warning handlers, each once per process.
void TIFX_ProcessSetup();

// The latest libtiff error and warning texts of the calling thread, "[module] message" when a
// module was given.
std::string TIFX_LastErrorText();
std::string TIFX_LastWarningText();
void TIFX_ClearErrorText();

// Removes the leading bracketed module part and the blank after it from an error text.
std::string TIFX_StripModule(const std::string& text);

// Opens a TIFF file ("r" to read, "wl" or "wb" to create) with the project's open options (memory
// cap, per-file handlers); `state` becomes the handle's state at its first directory set-up and
// learns the file descriptor. Null on failure, with the reason in the error text.
TIFF* TIFX_OpenHandle(const std::string& utf8Path, const char* mode, TIFX_HandleState* state);

// What a file of the given st_mode is, for the refusal of anything but a regular file.
std::string TIFX_FileKindText(unsigned mode);

// The state of a handle, or null for a handle the extender never saw.
TIFX_HandleState* TIFX_StateOf(TIFF* tif);

// The private set-field path shared by the directory's own tags and the embedded directory's
// entries. Returns false when the value was not usable.
bool TIFX_ApplyPrivateField(TIFF* tif, TIFX_HandleState& state, uint32_t tag,
                            const TIFX_FieldValue& value);

// Decodes an embedded directory (its bytes as stored in the file) through the set-field path.
void TIFX_DecodeQuorIFD(TIFF* tif, TIFX_HandleState& state, const uint8_t* blob, uint64_t size);

// The private print method.
void TIFX_PrintPrivateDirectory(TIFF* tif, FILE* out, long flags);
