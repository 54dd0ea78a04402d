#include "WKRN/preferences/WKRN_PreferencesDialog.h"

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_StringTable.h"
#include "WKRN/preferences/WKRN_InkCoveragePage.h"
#include "WKRN/preferences/WKRN_MeasurementPage.h"
#include "WKRN/preferences/WKRN_NavigationPage.h"
#include "WKRN/preferences/WKRN_Preferences.h"
#include "WKRN/preferences/WKRN_PreferencesApplied.h"
#include "WKRN/preferences/WKRN_SheetViewPage.h"

#include "WTLU/WTLU_MessageBox.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

WKRN_PreferencesDialog::WKRN_PreferencesDialog(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("WKRN_PreferencesDialog"));
    setWindowTitle(WKRN_StringTable::Load(IDS_PREFERENCES));
    setModal(true);
    const WKRN_PreferenceValues& values = WKRN_Preferences::Current();
    m_tabs = new QTabWidget(this);
    m_sheet = new WKRN_SheetViewPage(values, m_tabs);
    m_navigation = new WKRN_NavigationPage(values, m_tabs);
    m_measurement = new WKRN_MeasurementPage(values, m_tabs);
    m_tabs->addTab(m_sheet, WKRN_PreferencesPage::Text("Sheet"));
    m_tabs->addTab(m_navigation, WKRN_StringTable::Load(IDS_NAVIGATION));
    m_tabs->addTab(m_measurement, WKRN_StringTable::Load(IDS_MEASUREMENT));
    m_inkCoverage = new WKRN_InkCoveragePage(values, m_tabs);
    m_tabs->addTab(m_inkCoverage, WKRN_PreferencesPage::Text("Ink Coverage"));
    m_pages = {m_sheet, m_navigation, m_measurement, m_inkCoverage};

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
}

int WKRN_PreferencesDialog::Run(QWidget* owner)
{
    if (!owner)
        owner = QApplication::activeWindow();
    WKRN_PreferencesDialog dialog(owner);
    return dialog.exec();
}

void WKRN_PreferencesDialog::accept()
{
    Apply();
    QDialog::accept();
}

/* Pages the user never opened store nothing, so values they could not show (an opacity outside
   a slider's range) survive. The store is written once with all of them, by the same path that
   quitting uses. */
void WKRN_PreferencesDialog::Apply()
{
    WKRN_PreferenceValues values = WKRN_Preferences::Current();
    bool changed = false;
    for (const WKRN_PreferencesPage* page : m_pages)
        if (page->WasShown())
        {
            page->Store(values);
            changed = true;
        }
    if (!changed)
        return;
    WKRN_Preferences::Current() = values;
    const QString problem = WKRN_Preferences::WritePreferences();
    if (!problem.isEmpty())
        ShowNotSaved(problem, false, this);
    WKRN_PreferencesApplied::Notify();
}

void WKRN_PreferencesDialog::ShowNotSaved(const QString& problem, bool quitting, QWidget* parent)
{
    WTLU_MessageBox::ShowWarning(WKRN_StringTable::Load(IDS_PREFERENCES_NOT_SAVED),
                                 WKRN_StringTable::Load(quitting ? IDS_PREFERENCES_LOST_AT_QUIT
                                                                 : IDS_PREFERENCES_KEPT_FOR_RUN),
                                 problem, parent);
}
