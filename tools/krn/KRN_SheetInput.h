#pragma once
// What the krn commands that work on one sheet share: naming files by path or folder, placing
// them in a registry with problems reported on standard error, picking one sheet, and writing
// the resulting picture as PNG or PPM.

#include "IMPN/IMPN_Registry.h"
#include "IMPN/IMPN_SheetReference.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class IMPN_WorkerPool;
class KRN_OptionParser;

// ASCII case-insensitive suffix test ("x.PNG" ends in ".png").
bool KRN_EndsWithNoCase(std::string text, const char* suffix);

// .KRN, .PRV or .TIF in any letter case.
bool KRN_HasPreviewExtension(const std::filesystem::path& path);

// The files a path names: the path itself, or the preview files directly inside a folder, sorted
// by name so that runs are repeatable. A folder that cannot be listed adds a line to problems.
std::vector<std::string> KRN_ExpandPath(const std::string& path,
                                        std::vector<std::string>& problems);

// Places every file the paths name, one at a time so that one broken file cannot stop the rest;
// reports on standard error, prefixed "krn COMMAND: ", what could not be placed. True when every
// file was placed.
bool KRN_PlaceFiles(const char* command, const std::vector<std::string>& paths,
                    IMPN_Registry& registry);

// Colours the inks as the viewer does: the seven built-ins and a named-colour library (the given
// file, else the shipped one beside the program or in its share folder), then the user's custom
// colours. The custom file is read but never created or written: these commands write nothing but
// their picture. False, after a message on standard error, when the given library is missing or
// is not a colour database.
bool KRN_LoadColorDatabases(const char* command, const std::string& libraryPath);

// The options that choose one surface of one sheet, read alike by every command that draws or
// counts a surface: --sheet N (from 1) and --surface front|back; `chosen` (may be null) tells
// whether --surface was given.
void KRN_AddSurfaceOptions(KRN_OptionParser& parser, int& sheet, bool& back,
                           bool* chosen = nullptr);

// --threads N (1 to 256): the threads that make a picture, read alike by render and thumbnail;
// threads stays 0 (one per core) when the option is not given.
void KRN_AddThreadsOption(KRN_OptionParser& parser, unsigned& threads);

// The pool for N threads of work (0: one per core), the calling thread being one of them: null
// for one thread, so that a single-threaded run takes exactly the path it always took.
std::unique_ptr<IMPN_WorkerPool> KRN_MakeWorkerPool(unsigned threads);

// Sheet number (from 1, in the registry's order) of what the registry holds, or an empty
// reference after a message on standard error.
IMPN_SheetReference KRN_PickSheet(const char* command, IMPN_Registry& registry, int number);

// Whether this krn can write the picture a path asks for (.png needs a build with Qt, .ppm always
// works) and the path names a regular file or nothing yet (not a FIFO, a device or a folder);
// says why not on standard error.
bool KRN_CheckPictureOutput(const char* command, const std::string& path);

// Writes width x height pixels of blue, green, red (bytesPerPixel 3) or blue, green, red and a
// spare byte (4), rows rowBytes apart, as PNG when the path ends in .png, else binary PPM.
bool KRN_WritePicture(const std::string& path, const std::uint8_t* pixels, std::int32_t width,
                      std::int32_t height, std::size_t rowBytes, int bytesPerPixel);

// Writes width x height pixels, one byte each (non-zero black, zero white), as a one-bit PNG.
// False when this krn is built without Qt or the file cannot be written.
bool KRN_WriteOneBitPicture(const std::string& path, const std::vector<std::uint8_t>& black,
                            std::int32_t width, std::int32_t height);
