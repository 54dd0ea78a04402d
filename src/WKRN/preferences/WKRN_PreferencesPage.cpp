#include "WKRN/preferences/WKRN_PreferencesPage.h"

#include <QCoreApplication>

QString WKRN_PreferencesPage::Text(const char* source)
{
    return QCoreApplication::translate("WKRN_PreferencesDialog", source);
}

void WKRN_PreferencesPage::showEvent(QShowEvent* event)
{
    m_shown = true;
    QWidget::showEvent(event);
}
