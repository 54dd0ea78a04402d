#include "WKRN/browser/WKRN_RegistryScanner.h"

#include "WKRN/app/WKRN_Ids.h"

#include "GLIB/GLIB_Exception.h"
#include "IMPN/IMPN_Registry.h"
#include "WTLU/WTLU_MessageEvent.h"

#include <QMetaObject>

#include <exception>

WKRN_RegistryScanner::WKRN_RegistryScanner(QObject* receiver) : m_receiver(receiver) {}

WKRN_RegistryScanner::~WKRN_RegistryScanner()
{
    Cancel();
}

void WKRN_RegistryScanner::Join()
{
    if (m_thread.joinable())
        m_thread.join();
}

void WKRN_RegistryScanner::Cancel()
{
    ++m_generation;
    if (m_stop)
        m_stop->store(true);
    m_running = false;
    // The thread ends after the file it reads; what it delivers is stale by now.
    Join();
}

void WKRN_RegistryScanner::Stop()
{
    if (m_stop)
        m_stop->store(true);
}

/* Everything the thread hands back travels by value in calls queued to this object, tagged with
   the scan's generation; the thread itself touches neither widgets nor the receiver. */
void WKRN_RegistryScanner::Start(const std::string& folder, Finished finished)
{
    Cancel();
    const std::uint64_t generation = ++m_generation;
    m_stop = std::make_shared<std::atomic<bool>>(false);
    m_running = true;
    WTLU_MessageEvent::Send(m_receiver, BROWSERMSG_SCAN_STARTED);

    const auto progress = [this, generation](int done, int total)
    {
        QMetaObject::invokeMethod(
            this,
            [this, generation, done, total]
            {
                if (generation == m_generation)
                    WTLU_MessageEvent::Send(m_receiver, BROWSERMSG_FILE_PROCESSED, quintptr(done),
                                            total);
            },
            Qt::QueuedConnection);
    };
    const auto ended = [this, generation, finished](std::shared_ptr<Result> result)
    {
        QMetaObject::invokeMethod(
            this,
            [this, generation, finished, result]
            {
                if (generation != m_generation)
                    return;
                m_running = false;
                Join();
                const IMPN_RegistryFolder& record = result->record;
                WTLU_MessageEvent::Send(m_receiver, BROWSERMSG_SCAN_FINISHED,
                                        quintptr(record.total),
                                        record.validCount + record.invalidCount);
                if (finished)
                    finished(*result);
            },
            Qt::QueuedConnection);
    };
    m_thread = std::thread(
        [folder, stop = m_stop, progress, ended]
        {
            auto result = std::make_shared<Result>();
            try
            {
                result->registry = std::make_unique<IMPN_Registry>();
                result->listed = IMPN_RegistryScan::Scan(folder, *result->registry, result->record,
                                                         progress, stop.get());
            }
            catch (const GLIB_Exception& e)
            {
                result->listed = false;
                result->record.listError = e.WhatNarrow();
            }
            catch (const std::exception& e)
            {
                result->listed = false;
                result->record.listError = e.what();
            }
            catch (...)
            {
                result->listed = false;
                result->record.listError = "Unknown error";
            }
            if (!result->listed && result->registry)
                result->registry->Clear();
            ended(std::move(result));
        });
}
