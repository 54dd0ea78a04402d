#pragma once
// Preview files for the imposition-tree suites, written at run time by the preview-file writer
// into a scratch folder of their own.

#include "KRN_TestFolder.h"
#include "KRN_TestPreviewInfo.h"

#include "TIFX/TIFX_KRNDirectoryInfo.h"
#include "TIFX/TIFX_KRNWriter.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

// What one test file says about itself: its job information and its image. Small images keep the
// suites fast: the default is two tiles across and one down.
struct IMPN_TestPreview : KRN_TestInfoSpec
{
    IMPN_TestPreview()
    {
        pressSheetTop = 10;
        pressSheetLeft = 20;
        pressSheetBottom = 390;
        pressSheetRight = 580;
        // One page unless the test sets its own.
        pages = {DefaultPage()};
    }

    std::uint32_t width = 600;
    std::uint32_t height = 400;
    // The one-bit image, one byte of eight pixels at a time; blank when not set.
    std::function<std::uint8_t(std::uint32_t x0, std::uint32_t y)> fill;
    TIFX_KRNWriterOptions options = DefaultOptions();

    static KRNPageInfo DefaultPage();
    static TIFX_KRNWriterOptions DefaultOptions();
};

// A scratch folder of the imposition-tree suites, removed at the end.
class IMPN_TestFolder : public KRN_TestFolder
{
public:
    IMPN_TestFolder() : KRN_TestFolder("impn-tree") {}

    // Writes a preview file named `name` and returns its path.
    std::string Write(const std::string& name, const IMPN_TestPreview& preview) const;
    // Writes arbitrary bytes (a file that is not a TIFF at all).
    std::string WriteText(const std::string& name, const std::string& text) const
    {
        return WriteBytes(name, text);
    }
};

// A fill for IMPN_TestPreview from a rule that says whether pixel (x, y) carries ink.
std::function<std::uint8_t(std::uint32_t x0, std::uint32_t y)>
IMPN_TestFill(std::function<bool(std::uint32_t x, std::uint32_t y)> rule);

// The job information the writer stores for a test file.
KRNDirectoryInfo IMPN_TestDirectoryInfo(const IMPN_TestPreview& preview);
