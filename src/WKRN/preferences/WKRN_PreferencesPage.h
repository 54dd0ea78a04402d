#pragma once
// A page of the Preferences dialog. It starts from the preferences it is given and, when the
// dialog is accepted, stores its controls' values into a set of preferences, but only when the
// user has seen it: a page never shown keeps the stored values exactly, also values its controls
// could not represent.

#include "WKRN/preferences/WKRN_Preferences.h"

#include <QWidget>

class WKRN_PreferencesPage : public QWidget
{
    Q_OBJECT
public:
    explicit WKRN_PreferencesPage(QWidget* parent = nullptr) : QWidget(parent) {}

    bool WasShown() const { return m_shown; }
    virtual void Store(WKRN_PreferenceValues& values) const = 0;

    // The text of the page's own controls, translated in its own context.
    static QString Text(const char* source);

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool m_shown = false;
};
