#include "WKRN/app/WKRN_Help.h"

#include "WKRN/app/WKRN_DataFolders.h"
#include "WKRN/app/WKRN_Icons.h"
#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_Language.h"
#include "WKRN/app/WKRN_StringTable.h"

#include "WTLU/WTLU_MessageBox.h"

#include <QFileInfo>
#include <QKeySequence>
#include <QPointer>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>

namespace
{
QPointer<QTextBrowser>& HelpWindow()
{
    static QPointer<QTextBrowser> window;
    return window;
}
} // namespace

QString WKRN_Help::FileName(const QString& languageCode)
{
    return QStringLiteral("QuorKRNHelp_") + languageCode + QStringLiteral(".html");
}

QString WKRN_Help::FileName()
{
    return FileName(WKRN_Language::Code());
}

bool WKRN_Help::Show(QWidget* jobWindow)
{
    const QString name = FileName();
    QString path = WKRN_DataFolders::Find(name);
    // A language without a guide of its own reads the English one rather than nothing.
    if (path.isEmpty())
        path = WKRN_DataFolders::Find(FileName(QStringLiteral("en")));
    if (path.isEmpty())
    {
        QString text = WKRN_StringTable::Load(IDS_HELP_MISSING_FORMAT);
        text.replace(QStringLiteral("%s"), name);
        WTLU_MessageBox::ShowInformation(WKRN_StringTable::Load(IDS_HELP_UNAVAILABLE), text,
                                         QString(), nullptr);
        return false;
    }

    QPointer<QTextBrowser>& window = HelpWindow();
    if (window.isNull())
    {
        // No owner: the help stays open while job windows come and go.
        window = new QTextBrowser();
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setObjectName(QStringLiteral("WKRN_HelpWindow"));
        window->setWindowTitle(WKRN_StringTable::Load(IDS_HELP_WINDOW_TITLE));
        window->setWindowIcon(WKRN_Icons::Program());
        window->setOpenExternalLinks(true);
        window->resize(720, 640);
        // Closed like any document window of the program.
        for (const QKeySequence& keys :
             {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)})
        {
            auto* close = new QShortcut(keys, window);
            close->setContext(Qt::WindowShortcut);
            QObject::connect(close, &QShortcut::activated, window, &QWidget::close);
        }
    }
    window->setSource(QUrl::fromLocalFile(path));
    if (jobWindow != nullptr)
    {
        QRect frame = window->frameGeometry();
        frame.moveCenter(jobWindow->frameGeometry().center());
        window->move(frame.topLeft());
    }
    window->show();
    window->raise();
    window->activateWindow();
    return true;
}

QTextBrowser* WKRN_Help::Window()
{
    return HelpWindow().data();
}

void WKRN_Help::Shutdown()
{
    delete HelpWindow().data();
}
