#include "WKRN/files/WKRN_FileListWindow.h"

#include "WKRN/app/WKRN_StringTable.h"
#include "WKRN/files/WKRN_FileListTexts.h"

#include "WTLU/WTLU_SortableListView.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

WKRN_FileListWindow::WKRN_FileListWindow(QWidget* parent, const QString& header,
                                         const QString& second,
                                         const std::vector<WKRN_InvalidFile>& files)
    : QDialog(parent), m_header(new QLabel(header, this)), m_second(new QLabel(second, this)),
      m_list(new WTLU_SortableListView(this)), m_close(nullptr)
{
    setObjectName(QStringLiteral("WKRN_FileListWindow_239"));
    setWindowTitle(WKRN_FileListTexts::InvalidFilesTitle());
    m_header->setObjectName(QStringLiteral("WKRN_FileListWindow_1035"));
    m_second->setObjectName(QStringLiteral("WKRN_FileListWindow_1036"));
    m_list->setObjectName(QStringLiteral("WKRN_FileListWindow_1030"));
    // Paths and reasons are the system's, not markup.
    m_header->setTextFormat(Qt::PlainText);
    m_second->setTextFormat(Qt::PlainText);
    m_header->setWordWrap(true);
    m_second->setWordWrap(true);

    m_list->AddColumn(WKRN_StringTable::Load(IDS_COLUMN_FILENAME), kFileWidth);
    m_list->AddColumn(WKRN_StringTable::Load(IDS_COLUMN_EXPLANATION), kReasonWidth);
    // A path cut at its end loses the file's name: long paths lose their middle instead.
    m_list->setTextElideMode(Qt::ElideMiddle);
    for (const WKRN_InvalidFile& file : files)
    {
        auto* row = new QTreeWidgetItem(QStringList{file.file, file.reason});
        row->setToolTip(0, file.file);
        row->setToolTip(1, file.reason);
        m_list->addTopLevelItem(row);
    }
    const int listWidth = FitColumns();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    m_close = buttons->button(QDialogButtonBox::Close);
    m_close->setObjectName(QStringLiteral("WKRN_FileListWindow_1"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_header);
    layout->addWidget(m_second);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    resize(listWidth + 40, 300);
}

/* Each column as wide as its widest text, never narrower than its first width; together no wider
   than most of the screen, the paths giving way first (their middle is elided, the full text is
   in the tooltip). Returns the width of both columns. */
int WKRN_FileListWindow::FitColumns()
{
    const QScreen* shown = screen();
    const int room = shown ? shown->availableGeometry().width() * 8 / 10 : 1000;
    const QFontMetrics metrics = m_list->fontMetrics();
    const int margin = 3 * metrics.averageCharWidth();
    int widest[2] = {0, 0};
    for (int row = 0; row < m_list->RowCount(); ++row)
        for (int column = 0; column < 2; ++column)
            widest[column] =
                std::max(widest[column], metrics.horizontalAdvance(m_list->Row(row)->text(column)));
    int reason = std::max(kReasonWidth, widest[1] + margin);
    reason = std::min(reason, std::max(kReasonWidth, room / 2));
    int file = std::max(kFileWidth, widest[0] + margin + m_list->indentation());
    file = std::min(file, std::max(kFileWidth, room - reason));
    m_list->setColumnWidth(0, file);
    m_list->setColumnWidth(1, reason);
    return file + reason;
}

WKRN_FileListWindow::~WKRN_FileListWindow() = default;

void WKRN_FileListWindow::Run(QWidget* parent, const QString& header, const QString& second,
                              const std::vector<WKRN_InvalidFile>& files)
{
    WKRN_FileListWindow window(parent, header, second, files);
    window.exec();
}
