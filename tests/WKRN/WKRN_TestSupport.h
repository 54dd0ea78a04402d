#pragma once
// Shared pieces of the viewer's widget tests: the application object (offscreen), a scratch
// folder, preview files made by the writer, and a message-box presenter that records instead of
// blocking.

#include "KRN_TestFolder.h"

#include "WKRN/preferences/WKRN_Preferences.h"
#include "WTLU/WTLU_MessageBox.h"

#include <QString>

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

class WKRN_TestFolder : public KRN_TestFolder
{
public:
    WKRN_TestFolder() : KRN_TestFolder("wkrn") {}

    QString File(const char* name) const;

    // A small valid preview file of one ink of one surface.
    std::string WritePreview(const std::string& name, const std::string& title,
                             std::uint16_t signature, std::uint16_t surface,
                             const std::string& ink) const;
    std::string WriteText(const std::string& name, const std::string& text) const
    {
        return WriteBytes(name, text);
    }
};

// Keeps the process-wide preferences of a test from leaking into the next.
class WKRN_PreferencesGuard
{
public:
    WKRN_PreferencesGuard() : m_Saved(WKRN_Preferences::Current()) {}
    ~WKRN_PreferencesGuard() { WKRN_Preferences::Current() = m_Saved; }

private:
    WKRN_PreferenceValues m_Saved;
};

// Installs itself as the message-box presenter for its lifetime and records every box.
class WKRN_RecordedBoxes
{
public:
    explicit WKRN_RecordedBoxes(int answer = WTLU_IDOK);
    ~WKRN_RecordedBoxes();
    const std::vector<WTLU_MessageBoxRequest>& Boxes() const { return m_boxes; }

private:
    std::vector<WTLU_MessageBoxRequest> m_boxes;
    WTLU_MessageBox::Presenter m_previous;
};

// Readable failure output for texts.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

// Runs the event loop until the queue is drained (posted messages delivered, deferred deletes
// done).
void WKRN_ProcessEvents();
