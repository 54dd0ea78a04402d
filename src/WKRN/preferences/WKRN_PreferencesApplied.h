#pragma once
// The notice that the Preferences dialog applied new values. Views and palettes that draw with
// the preferences follow it to repaint everything they show at once: what they draw later (a
// scrolled strip) would otherwise use the new colours beside old ones.

#include <QObject>

class WKRN_PreferencesApplied : public QObject
{
    Q_OBJECT
public:
    // The one notice source of the process.
    static WKRN_PreferencesApplied& Instance();
    // Tells every follower, synchronously.
    static void Notify();

signals:
    void Applied();

private:
    WKRN_PreferencesApplied() = default;
};
