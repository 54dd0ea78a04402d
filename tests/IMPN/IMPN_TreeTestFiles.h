#pragma once
// Preview files for the imposition-tree suites, written at run time by the preview-file writer
// into a scratch folder of their own.

#include "TIFX/TIFX_KRNDirectoryInfo.h"
#include "TIFX/TIFX_KRNWriter.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

// What one test file says about itself. Small images keep the suites fast: the default is two
// tiles across and one down.
struct IMPN_TestPreview
{
    std::string title = "Job";
    std::uint16_t signature = 1;
    std::uint16_t surface = 0;
    std::uint16_t workStyle = 1;
    std::uint16_t orientation = 0;
    std::string colorName = "Cyan";
    std::uint16_t color = 1;
    std::string printTime = "2003:12:31 10:00:00";
    std::uint32_t width = 600;
    std::uint32_t height = 400;
    std::int32_t pressSheetTop = 10, pressSheetLeft = 20, pressSheetBottom = 390,
                 pressSheetRight = 580;
    // Filled with one page unless the test sets its own.
    std::vector<KRNPageInfo> pages = {DefaultPage()};
    bool clipPaths = false;
    std::optional<std::array<std::uint16_t, 4>> cmyk;
    // The one-bit image, one byte of eight pixels at a time; blank when not set.
    std::function<std::uint8_t(std::uint32_t x0, std::uint32_t y)> fill;
    TIFX_KRNWriterOptions options = DefaultOptions();

    static KRNPageInfo DefaultPage();
    static TIFX_KRNWriterOptions DefaultOptions();
};

// A scratch folder under $KRN_TEST_TMP (or the system's temporary folder), removed at the end.
class IMPN_TestFolder
{
public:
    IMPN_TestFolder();
    ~IMPN_TestFolder();
    IMPN_TestFolder(const IMPN_TestFolder&) = delete;
    IMPN_TestFolder& operator=(const IMPN_TestFolder&) = delete;

    const std::filesystem::path& Path() const { return m_Path; }

    // Writes a preview file named `name` and returns its path.
    std::string Write(const std::string& name, const IMPN_TestPreview& preview) const;
    // Writes arbitrary bytes (a file that is not a TIFF at all).
    std::string WriteText(const std::string& name, const std::string& text) const;

private:
    std::filesystem::path m_Path;
};

// The job information the writer stores for a test file.
KRNDirectoryInfo IMPN_TestDirectoryInfo(const IMPN_TestPreview& preview);
