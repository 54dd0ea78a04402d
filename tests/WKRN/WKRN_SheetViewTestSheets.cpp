#include "WKRN_SheetViewTestSheets.h"

#include "GFIL/GFIL_FileSpec.h"
#include "IMPN/IMPN_Registry.h"
#include "IMPN/IMPN_Sheet.h"
#include "TIFX/TIFX_KRNWriter.h"
#include "TIFX/TIFX_Tags.h"
#include "WKRN/WKRN_Ids.h"
#include "WTLU/WTLU_MessageEvent.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <random>
#include <unistd.h>

WKRN_TestSheets::WKRN_TestSheets()
{
    static std::atomic<unsigned> counter{0};
    const char* root = std::getenv("KRN_TEST_TMP");
    const std::filesystem::path base = root != nullptr && *root != '\0'
                                           ? std::filesystem::path(root)
                                           : std::filesystem::temp_directory_path();
    std::random_device random;
    m_Path = base / ("wkrn-sheetview-" + std::to_string(::getpid()) + "-" +
                     std::to_string(counter++) + "-" + std::to_string(random()));
    std::filesystem::create_directories(m_Path);
}

WKRN_TestSheets::~WKRN_TestSheets()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_Path, ignored);
}

KRNPageInfo WKRN_TestSheets::Page(std::uint16_t number, std::uint16_t orientation, std::int32_t top,
                                  std::int32_t left, std::int32_t bottom, std::int32_t right)
{
    KRNPageInfo page;
    page.pageNumber = number;
    page.orientation = orientation;
    page.posTop = top;
    page.posLeft = left;
    page.posBottom = bottom;
    page.posRight = right;
    page.bleedTop = top - 5;
    page.bleedLeft = left - 5;
    page.bleedBottom = bottom + 5;
    page.bleedRight = right + 5;
    page.maxBleedTop = top - 10;
    page.maxBleedLeft = left - 10;
    page.maxBleedBottom = bottom + 10;
    page.maxBleedRight = right + 10;
    return page;
}

IMPN_SheetReference WKRN_TestSheets::Make(const WKRN_TestSheetSpec& spec)
{
    std::vector<GFIL_FileSpec> files;
    for (const WKRN_TestSurface& surface : spec.surfaces)
    {
        TIFX_KRNWriterOptions options;
        options.compression = TIFX_KRNWriterOptions::Compression::PackBits;
        options.reducedScale = 4;
        options.resolution = spec.resolution;
        options.inkNames = surface.inkNames;
        TIFX_KRNWriter writer(options);
        const std::uint32_t rowBytes = (spec.width + 7) / 8;
        std::vector<std::uint8_t> bits(std::size_t{rowBytes} * spec.height, 0);
        if (surface.fill)
        {
            for (std::uint32_t y = 0; y < spec.height; ++y)
                for (std::uint32_t x = 0; x < spec.width; ++x)
                    if (surface.fill(x, y))
                        bits[std::size_t{y} * rowBytes + x / 8] |= std::uint8_t(0x80 >> (x % 8));
        }
        writer.SetMainBitmap(spec.width, spec.height, std::move(bits));

        KRNDirectoryInfo info;
        info.title = "View";
        info.SetField(TIFX_Field::Title);
        info.signature = 1;
        info.SetField(TIFX_Field::Signature);
        info.surface = surface.surface;
        info.SetField(TIFX_Field::Surface);
        info.workStyle = spec.workStyle;
        info.SetField(TIFX_Field::WorkStyle);
        info.impoTileOrientation = 0;
        info.SetField(TIFX_Field::ImpoTileOrientation);
        info.colorName = surface.ink;
        info.SetField(TIFX_Field::ColorStr);
        info.color = surface.color;
        info.SetField(TIFX_Field::Color);
        if (surface.cmykEquivalent)
        {
            std::copy(surface.cmykEquivalent->begin(), surface.cmykEquivalent->end(),
                      info.cmykEquivalent);
            info.SetField(TIFX_Field::CMYKEquivalent);
        }
        info.printTime = "2003:12:31 10:00:00";
        info.SetField(TIFX_Field::PrintTime);
        info.pressSheetTop = 10;
        info.pressSheetLeft = 20;
        info.pressSheetBottom = std::int32_t(spec.height) - 10;
        info.pressSheetRight = std::int32_t(spec.width) - 20;
        for (unsigned bit : {TIFX_Field::PressSheetTop, TIFX_Field::PressSheetLeft,
                             TIFX_Field::PressSheetBottom, TIFX_Field::PressSheetRight})
            info.SetField(bit);
        info.pages = spec.pages;
        info.numPages = static_cast<std::uint16_t>(spec.pages.size());
        info.SetField(TIFX_Field::NumPages);
        if (!spec.pages.empty())
        {
            for (unsigned bit = TIFX_Field::PagePosnTop; bit <= TIFX_Field::PageNumber; ++bit)
                info.SetField(bit);
            for (const KRNPageInfo& page : spec.pages)
                if (!page.clipPaths.empty())
                    info.SetField(TIFX_Field::PageSourceClipPath);
        }
        writer.SetDirectoryInfo(info);
        const std::filesystem::path path = m_Path / ("s" + std::to_string(m_Count++) + ".tif");
        writer.Write(path.string());
        files.emplace_back(path.string());
    }
    IMPN_Registry registry;
    EXPECT_EQ(registry.AddFiles(files, false), static_cast<int>(files.size()));
    std::vector<IMPN_Sheet*> sheets;
    registry.CollectSheets(sheets);
    EXPECT_EQ(sheets.size(), 1u);
    return sheets.empty() ? IMPN_SheetReference() : IMPN_SheetReference(sheets.front());
}

bool WKRN_NoticeRecorder::event(QEvent* event)
{
    if (!WTLU_MessageEvent::IsMessage(event))
        return QObject::event(event);
    const auto& message = static_cast<const WTLU_MessageEvent&>(*event);
    Notice notice;
    notice.message = message.Message();
    notice.wParam = message.WParam();
    if (notice.message == JOBMSG_MEASUREMENT)
    {
        const auto* position = reinterpret_cast<const double*>(message.WParam());
        const auto* offset = reinterpret_cast<const double*>(message.LParam());
        if (position)
            notice.first.assign(position, position + 2);
        if (offset)
            notice.second.assign(offset, offset + 2);
    }
    else if (notice.message == JOBMSG_VISIBLE_AREA || notice.message == JOBMSG_ZOOM_CHANGED)
    {
        const auto* fractions = reinterpret_cast<const double*>(message.LParam());
        if (fractions)
            notice.first.assign(fractions, fractions + 4);
    }
    notices.push_back(notice);
    return true;
}

std::vector<WKRN_NoticeRecorder::Notice> WKRN_NoticeRecorder::Of(int message) const
{
    std::vector<Notice> found;
    for (const Notice& notice : notices)
        if (notice.message == message)
            found.push_back(notice);
    return found;
}
