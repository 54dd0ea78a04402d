// The application object the widget tests of this suite need, made before the first test.

#include "KRN_TestApplication.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace
{
[[maybe_unused]] ::testing::Environment* const g_environment = ::testing::AddGlobalTestEnvironment(
    new KRN_TestApplication<QApplication>("winplatformlib_tests"));
} // namespace
