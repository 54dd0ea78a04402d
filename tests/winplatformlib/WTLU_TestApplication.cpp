// The application object the widget tests of this suite need, made before the first test.

#include <QApplication>

#include <gtest/gtest.h>

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
        static char name[] = "winplatformlib_tests";
        static char* argv[] = {name, nullptr};
        m_application = new QApplication(argc, argv);
    }
    void TearDown() override { delete m_application; }

private:
    QApplication* m_application = nullptr;
};

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);
} // namespace
