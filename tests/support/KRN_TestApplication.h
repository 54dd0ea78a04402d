#pragma once
// The application object of a widget suite, made before its first test and deleted after its
// last, on the offscreen platform unless QT_QPA_PLATFORM names another. A suite registers one
// with its application class, its program name and what it sets once the application exists.

#include <QByteArray>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

template <class Application>
class KRN_TestApplication : public ::testing::Environment
{
public:
    explicit KRN_TestApplication(std::string name, std::function<void()> ready = {})
        : m_name(std::move(name)), m_ready(std::move(ready))
    {
    }

    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        // Qt keeps the count and the arguments for the application's life: they live here.
        m_arguments[0] = m_name.data();
        m_application = new Application(m_count, m_arguments);
        if (m_ready)
            m_ready();
    }
    void TearDown() override
    {
        delete m_application;
        m_application = nullptr;
    }

private:
    std::string m_name;
    std::function<void()> m_ready;
    int m_count = 1;
    char* m_arguments[2] = {nullptr, nullptr};
    Application* m_application = nullptr;
};
