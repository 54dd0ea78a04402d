#pragma once
// Scratch folders and job information shared by the preview-file suites.

#include "KRN_TestFolder.h"

#include "TIFX/TIFX_KRNDirectoryInfo.h"
#include "TIFX/TIFX_KRNWriter.h"
#include "TIFX/TIFX_Tags.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

// A folder of its own under $KRN_TEST_TMP for each test, removed afterwards.
class TIFX_ScratchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("tifx-") + test->test_suite_name() + "-" + test->name() +
                           "-" + std::to_string(::getpid());
        for (char& c : name)
            if (c == '/')
                c = '_';
        m_dir = KRN_TestScratchRoot() / name;
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { KRN_TestRemoveFolder(m_dir); }

    std::string PathOf(const std::string& file) const { return (m_dir / file).string(); }

    std::filesystem::path m_dir;
};

// Job information with every private field present: three pages, clip paths on two of them.
inline KRNDirectoryInfo TIFX_FullInfo()
{
    namespace F = TIFX_Field;
    KRNDirectoryInfo info;
    info.title = "Spring Catalogue";
    info.digVersion = "DIG 4.2.1";
    info.sourceMachine = "rip-07";
    info.printTime = "2006-03-14 09:26:53";
    info.colorName = "PANTONE 186 C";
    info.colorSequence = "CMYK";
    info.intfVersion = 3;
    info.minIntfVersion = 2;
    info.pluginIntfVersion = 7;
    info.pluginMinIntfVersion = 5;
    info.workStyle = 2;
    info.color = 4;
    info.signature = 3;
    info.surface = 1;
    info.interpretationTime = 12.5f;
    info.renderingTime = 3.25f;
    info.compressionRatio = 17.75f;
    info.pressSheetTop = 0;
    info.pressSheetLeft = 0;
    info.pressSheetBottom = 1000;
    info.pressSheetRight = 1400;
    info.psFileNum = 1;
    info.psFileCount = 2;
    info.psImageNum = 5;
    info.psLastImage = 1;
    info.impoTileWidth = 700;
    info.impoTileHeight = 500;
    info.impoTileNumX = 1;
    info.impoTileNumY = 0;
    info.impoTileCountX = 2;
    info.impoTileCountY = 1;
    info.impoTileOrientation = 3;
    info.numPages = 3;
    info.pages.resize(3);
    for (int i = 0; i < 3; ++i)
    {
        KRNPageInfo& p = info.pages[i];
        p.pageNumber = static_cast<uint16_t>(i + 1);
        p.orientation = static_cast<uint16_t>(i);
        p.posTop = 100 + i;
        p.posLeft = 50 + 400 * i;
        p.posBottom = 900 - i;
        p.posRight = 400 + 400 * i;
        p.bleedTop = 90;
        p.bleedLeft = 40 + 400 * i;
        p.bleedBottom = 910;
        p.bleedRight = 410 + 400 * i;
        p.maxBleedTop = 80;
        p.maxBleedLeft = 30 + 400 * i;
        p.maxBleedBottom = 920;
        p.maxBleedRight = 420 + 400 * i;
        p.bottleX = 225 + 400 * i;
        p.bottleY = -500 + i; // negative values survive the trip
        p.bottleAngle = 90.0f * i + 0.5f;
    }
    info.pages[0].clipPaths = {{{50, 100}, {400, 100}, {400, 900}, {50, 900}}};
    info.pages[2].clipPaths = {{{850, 102}, {1200, 102}, {1200, 898}}, {{900, 200}, {1000, 300}}};
    info.cmykEquivalent[0] = 0;
    info.cmykEquivalent[1] = 65535;
    info.cmykEquivalent[2] = 32768;
    info.cmykEquivalent[3] = 1234;
    for (unsigned bit = 0; bit <= 51; ++bit)
        if (bit != 33)
            info.SetField(bit);
    info.SetField(F::ColorSequence);
    info.SetField(F::CMYKEquivalent);
    return info;
}

// `info` as a reader sees it in a directory written with the given "Scale".
inline KRNDirectoryInfo TIFX_WithScale(KRNDirectoryInfo info, uint16_t scale)
{
    info.scale = scale;
    info.SetField(TIFX_Field::Scale);
    return info;
}

// A one-bit test pattern: rows of (width + 7) / 8 bytes, with ink on a diagonal band and a frame.
inline std::vector<uint8_t> TIFX_Pattern(uint32_t width, uint32_t height)
{
    const uint32_t rowBytes = (width + 7) / 8;
    std::vector<uint8_t> bits(size_t{rowBytes} * height, 0);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
        {
            const bool ink = x == 0 || y == 0 || x + 1 == width || y + 1 == height ||
                             (x + y) % 37 < 9 || (x / 64 + y / 64) % 5 == 0;
            if (ink)
                bits[size_t{y} * rowBytes + x / 8] |= static_cast<uint8_t>(0x80u >> (x % 8));
        }
    return bits;
}
