#pragma once

#include "GFIL/GFIL_FileSpec.h"

// Creates one directory; failure gives 1158006, "Failed to create the directory " + path +
// "; " + the system's error text.
void MakeDirectory(const GFIL_FileSpec& spec);

// Makes sure the directory exists, creating missing ancestors first (outermost first). A path
// that exists but is not a directory is not taken as done: creating it fails with 1158006.
void EnsureDirectory(const GFIL_FileSpec& spec);
