#include "IMPN_TreeTestFiles.h"

#include "TIFX/TIFX_Tags.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <unistd.h>

KRNPageInfo IMPN_TestPreview::DefaultPage()
{
    KRNPageInfo page;
    page.pageNumber = 1;
    page.orientation = 0;
    page.posTop = 50;
    page.posLeft = 60;
    page.posBottom = 350;
    page.posRight = 290;
    page.bleedTop = 45;
    page.bleedLeft = 55;
    page.bleedBottom = 355;
    page.bleedRight = 295;
    page.maxBleedTop = 40;
    page.maxBleedLeft = 50;
    page.maxBleedBottom = 360;
    page.maxBleedRight = 300;
    return page;
}

TIFX_KRNWriterOptions IMPN_TestPreview::DefaultOptions()
{
    TIFX_KRNWriterOptions options;
    options.compression = TIFX_KRNWriterOptions::Compression::PackBits;
    options.reducedScale = 4;
    return options;
}

KRNDirectoryInfo IMPN_TestDirectoryInfo(const IMPN_TestPreview& p)
{
    KRNDirectoryInfo info;
    info.title = p.title;
    info.SetField(TIFX_Field::Title);
    info.signature = p.signature;
    info.SetField(TIFX_Field::Signature);
    info.surface = p.surface;
    info.SetField(TIFX_Field::Surface);
    info.workStyle = p.workStyle;
    info.SetField(TIFX_Field::WorkStyle);
    info.impoTileOrientation = p.orientation;
    info.SetField(TIFX_Field::ImpoTileOrientation);
    info.colorName = p.colorName;
    info.SetField(TIFX_Field::ColorStr);
    info.color = p.color;
    info.SetField(TIFX_Field::Color);
    info.printTime = p.printTime;
    info.SetField(TIFX_Field::PrintTime);
    info.pressSheetTop = p.pressSheetTop;
    info.pressSheetLeft = p.pressSheetLeft;
    info.pressSheetBottom = p.pressSheetBottom;
    info.pressSheetRight = p.pressSheetRight;
    for (unsigned bit : {TIFX_Field::PressSheetTop, TIFX_Field::PressSheetLeft,
                         TIFX_Field::PressSheetBottom, TIFX_Field::PressSheetRight})
        info.SetField(bit);
    info.pages = p.pages;
    info.numPages = static_cast<std::uint16_t>(p.pages.size());
    info.SetField(TIFX_Field::NumPages);
    if (!p.pages.empty())
    {
        for (unsigned bit = TIFX_Field::PagePosnTop; bit <= TIFX_Field::PageNumber; ++bit)
            info.SetField(bit);
    }
    if (p.clipPaths)
        info.SetField(TIFX_Field::PageSourceClipPath);
    if (p.cmyk)
    {
        for (int i = 0; i < 4; ++i)
            info.cmykEquivalent[i] = (*p.cmyk)[static_cast<std::size_t>(i)];
        info.SetField(TIFX_Field::CMYKEquivalent);
    }
    return info;
}

IMPN_TestFolder::IMPN_TestFolder()
{
    static std::atomic<unsigned> counter{0};
    const char* root = std::getenv("KRN_TEST_TMP");
    std::filesystem::path base =
        root && *root ? std::filesystem::path(root) : std::filesystem::temp_directory_path();
    std::random_device random;
    m_Path = base / ("impn-tree-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) +
                     "-" + std::to_string(random()));
    std::filesystem::create_directories(m_Path);
}

IMPN_TestFolder::~IMPN_TestFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_Path, ignored);
}

std::string IMPN_TestFolder::Write(const std::string& name, const IMPN_TestPreview& p) const
{
    TIFX_KRNWriter writer(p.options);
    const std::uint32_t bytesPerRow = (p.width + 7) / 8;
    std::vector<std::uint8_t> bits(std::size_t{bytesPerRow} * p.height, 0);
    if (p.fill)
    {
        for (std::uint32_t y = 0; y < p.height; ++y)
            for (std::uint32_t b = 0; b < bytesPerRow; ++b)
                bits[std::size_t{y} * bytesPerRow + b] = p.fill(b * 8, y);
        // Pixels beyond the image width stay clear.
        if (p.width % 8 != 0)
        {
            const std::uint8_t mask = static_cast<std::uint8_t>(0xFF << (8 - p.width % 8));
            for (std::uint32_t y = 0; y < p.height; ++y)
                bits[std::size_t{y} * bytesPerRow + bytesPerRow - 1] &= mask;
        }
    }
    writer.SetMainBitmap(p.width, p.height, std::move(bits));
    writer.SetDirectoryInfo(IMPN_TestDirectoryInfo(p));
    const std::string path = (m_Path / name).string();
    writer.Write(path);
    return path;
}

std::string IMPN_TestFolder::WriteText(const std::string& name, const std::string& text) const
{
    const std::filesystem::path path = m_Path / name;
    std::ofstream out(path, std::ios::binary);
    out << text;
    return path.string();
}
