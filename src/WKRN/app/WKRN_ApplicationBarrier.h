#pragma once
// The viewer's QApplication. Every event handler of every window runs behind one barrier: an
// exception that escapes a handler must not unwind through Qt's event loop (which ends the
// process without a word). It is reported as at the program entry, in the "Unhandled exception
// caught in main" message box, and the run then ends the normal way, writing the preferences.

#include "GLIB/GLIB_MainGuard.h"

#include <QApplication>

class WKRN_ApplicationBarrier : public QApplication
{
    Q_OBJECT
public:
    WKRN_ApplicationBarrier(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Where a caught failure is shown (the message box by default); returns the previous sink.
    static GLIB_FailureSink SetFailureSink(GLIB_FailureSink sink);
};
