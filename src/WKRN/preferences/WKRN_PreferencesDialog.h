#pragma once
// The Preferences dialog: the pages Sheet, Navigation, Measurement and Ink Coverage over the
// preferences that have a control. OK stores what the shown pages hold, writes the store of the run
// at once and tells the open windows to repaint with the new values; Cancel changes nothing.

#include <QDialog>

#include <vector>

class QTabWidget;
class WKRN_InkCoveragePage;
class WKRN_MeasurementPage;
class WKRN_NavigationPage;
class WKRN_PreferencesPage;
class WKRN_SheetViewPage;

class WKRN_PreferencesDialog : public QDialog
{
    Q_OBJECT
public:
    // The pages start from the current preferences.
    explicit WKRN_PreferencesDialog(QWidget* owner = nullptr);

    // Shows the dialog modal to owner; returns the dialog's result.
    static int Run(QWidget* owner);

    QTabWidget* Tabs() const { return m_tabs; }
    WKRN_SheetViewPage* SheetPage() const { return m_sheet; }
    WKRN_NavigationPage* NavigationPage() const { return m_navigation; }
    WKRN_MeasurementPage* MeasurementPage() const { return m_measurement; }
    WKRN_InkCoveragePage* InkCoveragePage() const { return m_inkCoverage; }

    void accept() override;

    // Tells the user that the store could not be written (problem: its path and the reason);
    // quitting says the session's changes are lost, else that they stay for the run.
    static void ShowNotSaved(const QString& problem, bool quitting, QWidget* parent);

private:
    void Apply();

    QTabWidget* m_tabs;
    WKRN_SheetViewPage* m_sheet;
    WKRN_NavigationPage* m_navigation;
    WKRN_MeasurementPage* m_measurement;
    WKRN_InkCoveragePage* m_inkCoverage;
    std::vector<WKRN_PreferencesPage*> m_pages;
};
