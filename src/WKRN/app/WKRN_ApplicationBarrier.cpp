#include "WKRN/app/WKRN_ApplicationBarrier.h"

#include "WKRN/app/WKRN_Application.h"

#include <QThread>

#include <utility>

namespace
{
GLIB_FailureSink& Sink()
{
    static GLIB_FailureSink sink = &WKRN_Application::ShowFailure;
    return sink;
}
} // namespace

WKRN_ApplicationBarrier::WKRN_ApplicationBarrier(int& argc, char** argv) : QApplication(argc, argv)
{
}

GLIB_FailureSink WKRN_ApplicationBarrier::SetFailureSink(GLIB_FailureSink sink)
{
    GLIB_FailureSink previous = std::move(Sink());
    Sink() = sink ? std::move(sink) : GLIB_FailureSink(&WKRN_Application::ShowFailure);
    return previous;
}

bool WKRN_ApplicationBarrier::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    const int completed = GLIB_RunMainGuarded(
        [&]() -> int
        {
            handled = QApplication::notify(receiver, event);
            return 1;
        },
        Sink());
    if (completed == 0)
    {
        // What was half done cannot be trusted: the run ends as after a failure at start-up.
        // Without a running event loop there is nothing to end (and an exit request would make
        // the next loop, a dialog's say, return at once).
        if (QThread::currentThread()->loopLevel() > 0)
            QCoreApplication::exit(0);
        return true;
    }
    return handled;
}
