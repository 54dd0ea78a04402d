#include "IMPN_TreeTestFiles.h"

#include "TIFX/TIFX_Tags.h"

KRNPageInfo IMPN_TestPreview::DefaultPage()
{
    return KRN_TestPage(1, 0, 50, 60, 350, 290);
}

TIFX_KRNWriterOptions IMPN_TestPreview::DefaultOptions()
{
    TIFX_KRNWriterOptions options;
    options.compression = TIFX_KRNWriterOptions::Compression::PackBits;
    options.reducedScale = 4;
    return options;
}

std::function<std::uint8_t(std::uint32_t x0, std::uint32_t y)>
IMPN_TestFill(std::function<bool(std::uint32_t x, std::uint32_t y)> rule)
{
    return [rule = std::move(rule)](std::uint32_t x0, std::uint32_t y)
    {
        std::uint8_t byte = 0;
        for (std::uint32_t k = 0; k < 8; ++k)
            if (rule(x0 + k, y))
                byte |= std::uint8_t(0x80u >> k);
        return byte;
    };
}

KRNDirectoryInfo IMPN_TestDirectoryInfo(const IMPN_TestPreview& p)
{
    return KRN_TestDirectoryInfo(p);
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
    const std::string path = (Path() / name).string();
    writer.Write(path);
    return path;
}
