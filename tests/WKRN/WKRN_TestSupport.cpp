#include "WKRN_TestSupport.h"

#include "WKRN/WKRN_StringTable.h"

#include "TIFX/TIFX_KRNWriter.h"
#include "TIFX/TIFX_Tags.h"

#include "WKRN/WKRN_ApplicationBarrier.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <random>
#include <unistd.h>

namespace
{
class ApplicationEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "wkrn_tests";
        static char* argv[] = {name, nullptr};
        // The viewer's own application, so that its event barrier is under test too.
        m_application = new WKRN_ApplicationBarrier(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
        WTLU_MessageBox::SetStringLookup(&WKRN_StringTable::Load);
    }
    void TearDown() override
    {
        delete m_application;
        m_application = nullptr;
    }

private:
    QApplication* m_application = nullptr;
};

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);
} // namespace

WKRN_TestFolder::WKRN_TestFolder()
{
    static std::atomic<unsigned> counter{0};
    const char* root = std::getenv("KRN_TEST_TMP");
    const std::filesystem::path base = root != nullptr && *root != '\0'
                                           ? std::filesystem::path(root)
                                           : std::filesystem::temp_directory_path();
    std::random_device random;
    m_path = base / ("wkrn-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
                     std::to_string(random()));
    std::filesystem::create_directories(m_path);
}

WKRN_TestFolder::~WKRN_TestFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

QString WKRN_TestFolder::File(const char* name) const
{
    return QString::fromStdString((m_path / name).string());
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

    KRNDirectoryInfo info;
    info.title = title;
    info.SetField(TIFX_Field::Title);
    info.signature = signature;
    info.SetField(TIFX_Field::Signature);
    info.surface = surface;
    info.SetField(TIFX_Field::Surface);
    info.workStyle = 1;
    info.SetField(TIFX_Field::WorkStyle);
    info.colorName = ink;
    info.SetField(TIFX_Field::ColorStr);
    info.printTime = "2003:12:31 10:00:00";
    info.SetField(TIFX_Field::PrintTime);
    info.pressSheetRight = int32_t(width);
    info.pressSheetBottom = int32_t(height);
    for (unsigned bit : {TIFX_Field::PressSheetTop, TIFX_Field::PressSheetLeft,
                         TIFX_Field::PressSheetBottom, TIFX_Field::PressSheetRight})
        info.SetField(bit);
    info.SetField(TIFX_Field::NumPages);
    writer.SetDirectoryInfo(info);
    const std::string path = (m_path / name).string();
    writer.Write(path);
    return path;
}

std::string WKRN_TestFolder::WriteText(const std::string& name, const std::string& text) const
{
    const std::string path = (m_path / name).string();
    std::ofstream(path) << text;
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
