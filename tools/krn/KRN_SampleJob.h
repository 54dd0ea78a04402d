#pragma once
// Writes a synthetic job as an output system would: for every surface the page art and marks are
// composed once, then each ink is screened into round halftone dots at its angle and written as a
// preview file with its reduced image and job information.

#include "KRN_SamplePlan.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class KRN_SampleJob
{
public:
    // Called before each file is written (done files of total) and once at the end.
    using Progress = std::function<void(std::size_t done, std::size_t total, const std::string&)>;

    // Writes the plan's files into folder (created when missing); returns their paths. seed
    // varies the photographic noise and the words of the type blocks. Throws
    // TIFX_FileIOException or std::runtime_error on failure.
    static std::vector<std::string> Write(const KRN_SamplePlan& plan, const std::string& folder,
                                          std::uint32_t seed, const Progress& progress);

    // The files of the invalid preset: a plain TIFF, a preview without its private directory,
    // one with 256 x 256 tiles, a truncated one, a text file named .TIF, and one valid file to
    // compare with.
    static std::vector<std::string> WriteInvalid(const std::string& folder, std::uint32_t seed,
                                                 const Progress& progress);

    // The file name of an ink of a surface: Title_S1_0_Cyan.tif (blanks become underscores).
    static std::string FileName(const KRN_SamplePlan& plan, const KRN_SampleSurface& surface,
                                const KRN_SampleInk& ink, const std::string& suffix = "");

    // Averages a one-bit bitmap ((width + 7) / 8 bytes a row, 1 = ink) in scale x scale blocks
    // into coverage bytes 0..255, ceil(width / scale) x ceil(height / scale).
    static std::vector<std::uint8_t> Reduce(const std::vector<std::uint8_t>& bits,
                                            std::uint32_t width, std::uint32_t height,
                                            std::uint32_t scale);
};
