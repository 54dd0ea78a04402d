#include "WKRN_SheetViewTestSheets.h"

#include "KRN_TestPreviewInfo.h"

#include "GFIL/GFIL_FileSpec.h"
#include "IMPN/IMPN_Registry.h"
#include "IMPN/IMPN_Sheet.h"
#include "TIFX/TIFX_KRNWriter.h"
#include "TIFX/TIFX_Tags.h"
#include "WKRN/app/WKRN_Ids.h"
#include "WTLU/WTLU_MessageEvent.h"

#include <gtest/gtest.h>

#include <algorithm>

KRNPageInfo WKRN_TestSheets::Page(std::uint16_t number, std::uint16_t orientation, std::int32_t top,
                                  std::int32_t left, std::int32_t bottom, std::int32_t right)
{
    return KRN_TestPage(number, orientation, top, left, bottom, right);
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

        KRN_TestInfoSpec info;
        info.title = "View";
        info.surface = surface.surface;
        info.workStyle = spec.workStyle;
        info.colorName = surface.ink;
        info.color = surface.color;
        info.cmyk = surface.cmykEquivalent;
        info.pressSheetTop = 10;
        info.pressSheetLeft = 20;
        info.pressSheetBottom = std::int32_t(spec.height) - 10;
        info.pressSheetRight = std::int32_t(spec.width) - 20;
        info.pages = spec.pages;
        writer.SetDirectoryInfo(KRN_TestDirectoryInfo(info));
        const std::filesystem::path path =
            m_Folder.Path() / ("s" + std::to_string(m_Count++) + ".tif");
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
