#pragma once
// Scans a job folder on a thread of its own, so that the job browser keeps painting and answering
// while a large folder is read. The thread lists the folder and reads every candidate file into a
// registry that belongs to the scan alone; the registry goes to the user-interface thread, with
// the scan's record, only when the scan has ended. Notices reach the receiver on the
// user-interface thread as the browser's scan messages, sent: started; after every file (files
// done, candidates); finished (candidates, files read). A scan that was cancelled or replaced tells
// nothing more: its late notices are dropped.

#include "IMPN/IMPN_RegistryScan.h"

#include <QObject>
#include <QPointer>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

class IMPN_Registry;

class WKRN_RegistryScanner : public QObject
{
public:
    struct Result
    {
        std::unique_ptr<IMPN_Registry> registry;
        IMPN_RegistryFolder record;
        bool listed = false; // the folder could be listed (the record says why not)
    };
    using Finished = std::function<void(Result&)>;

    explicit WKRN_RegistryScanner(QObject* receiver);
    ~WKRN_RegistryScanner() override;

    // Starts scanning a folder; a scan still running is cancelled first. finished runs on this
    // thread when the scan has ended, also when it was stopped (with what it read until then).
    void Start(const std::string& folder, Finished finished);
    // Asks the running scan to end after the file it reads; finished still follows.
    void Stop();
    // Stops the running scan and drops it: finished does not follow.
    void Cancel();
    bool Running() const { return m_running; }

private:
    void Join();

    QPointer<QObject> m_receiver;
    // Touched on the user-interface thread only.
    std::uint64_t m_generation = 0;
    bool m_running = false;
    std::shared_ptr<std::atomic<bool>> m_stop;
    std::thread m_thread;
};
