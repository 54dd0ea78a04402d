#include "WKRN_TestSupport.h"

#include "KRN_TestApplication.h"
#include "KRN_TestPreviewInfo.h"

#include "WKRN/app/WKRN_StringTable.h"

#include "TIFX/TIFX_KRNWriter.h"
#include "TIFX/TIFX_Tags.h"

#include "WKRN/app/WKRN_ApplicationBarrier.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>

#include <gtest/gtest.h>

namespace
{
// The viewer's own application, so that its event barrier is under test too.
[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new KRN_TestApplication<WKRN_ApplicationBarrier>(
        "wkrn_tests",
        []
        {
            QApplication::setQuitOnLastWindowClosed(false);
            WTLU_MessageBox::SetStringLookup(&WKRN_StringTable::Load);
        }));
} // namespace

QString WKRN_TestFolder::File(const char* name) const
{
    return QString::fromStdString((Path() / name).string());
}

std::string WKRN_TestFolder::WritePreview(const std::string& name, const std::string& title,
                                          std::uint16_t signature, std::uint16_t surface,
                                          const std::string& ink) const
{
    TIFX_KRNWriterOptions options;
    options.compression = TIFX_KRNWriterOptions::Compression::PackBits;
    options.reducedScale = 4;
    TIFX_KRNWriter writer(options);
    constexpr std::uint32_t width = 64;
    constexpr std::uint32_t height = 48;
    std::vector<std::uint8_t> bits(std::size_t{width / 8} * height, 0x0F);
    writer.SetMainBitmap(width, height, std::move(bits));

    KRN_TestInfoSpec spec;
    spec.title = title;
    spec.signature = signature;
    spec.surface = surface;
    spec.orientation.reset();
    spec.colorName = ink;
    spec.color.reset();
    spec.pressSheetRight = std::int32_t(width);
    spec.pressSheetBottom = std::int32_t(height);
    writer.SetDirectoryInfo(KRN_TestDirectoryInfo(spec));
    const std::string path = (Path() / name).string();
    writer.Write(path);
    return path;
}

WKRN_RecordedBoxes::WKRN_RecordedBoxes(int answer)
{
    m_previous = WTLU_MessageBox::SetPresenter(
        [this, answer](const WTLU_MessageBoxRequest& r)
        {
            m_boxes.push_back(r);
            return answer;
        });
}

WKRN_RecordedBoxes::~WKRN_RecordedBoxes()
{
    WTLU_MessageBox::SetPresenter(std::move(m_previous));
}

void WKRN_ProcessEvents()
{
    for (int round = 0; round < 5; ++round)
    {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}
