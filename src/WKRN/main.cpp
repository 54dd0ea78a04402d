// The viewer's process entry.

#include "WKRN/WKRN_Application.h"
#include "WKRN/WKRN_ApplicationBarrier.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication::setOrganizationName(QStringLiteral("Quor"));
    QApplication::setApplicationName(QStringLiteral("Quor KRN"));
    WKRN_ApplicationBarrier application(argc, argv);
    Q_INIT_RESOURCE(wkrn_resources);
    return WKRN_Application::Run();
}
