#include "WKRN/files/WKRN_PreviewFileRow.h"

#include "GLIB/GLIB_String.h"
#include "IMPN/IMPN_ColorRecord.h"
#include "IMPN/IMPN_Separation.h"

#include <QColor>
#include <QIcon>
#include <QPainter>

namespace
{
std::wstring NameOf(const std::wstring& path)
{
    const std::size_t slash = path.find_last_of(L"/\\");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// Rows of other kinds (there are none in the viewer's lists) sort after preview file rows.
const WKRN_PreviewFileRow* AsRow(const QTreeWidgetItem& item)
{
    return dynamic_cast<const WKRN_PreviewFileRow*>(&item);
}
} // namespace

WKRN_PreviewFileRow::WKRN_PreviewFileRow(IMPN_Separation& separation, GFIL_FileSpec file)
    : m_separation(&separation), m_file(std::move(file))
{
    Show();
}

WKRN_PreviewFileRow::WKRN_PreviewFileRow(std::unique_ptr<IMPN_Separation> separation,
                                         GFIL_FileSpec file)
    : m_owned(std::move(separation)), m_separation(m_owned.get()), m_file(std::move(file))
{
    Show();
}

WKRN_PreviewFileRow::~WKRN_PreviewFileRow() = default;

void WKRN_PreviewFileRow::Show()
{
    m_path = m_file ? m_file.Path() : ToWide(m_separation->GetFilePath());
    const IMPN_ColorRecord& color = m_separation->GetDecidedColor();
    setText(kColorColumn, QString::fromStdWString(ToWide(color.name)));
    setIcon(kColorColumn, QIcon(Swatch(color)));
    setText(kFileNameColumn, QString::fromStdWString(NameOf(m_path)));
    setToolTip(kFileNameColumn, QString::fromStdWString(m_path));
}

QPixmap WKRN_PreviewFileRow::Swatch(const IMPN_ColorRecord& color)
{
    QPixmap swatch(kSwatchSize, kSwatchSize);
    swatch.fill(Qt::transparent);
    if (color.isDefault)
        return swatch;
    const IMPN_ColorBGR shown = color.Shown();
    QPainter painter(&swatch);
    painter.fillRect(QRect(0, 1, kSwatchSize, kSwatchSize - 2),
                     QColor(shown[2], shown[1], shown[0]));
    return swatch;
}

int WKRN_PreviewFileRow::CompareColor(const QTreeWidgetItem& a, const QTreeWidgetItem& b)
{
    const WKRN_PreviewFileRow* rowA = AsRow(a);
    const WKRN_PreviewFileRow* rowB = AsRow(b);
    if (rowA == nullptr || rowB == nullptr)
        return int(rowA == nullptr) - int(rowB == nullptr);
    const int codeA = rowA->Separation().GetColorCode();
    const int codeB = rowB->Separation().GetColorCode();
    if ((codeA == 0) != (codeB == 0))
        return codeA == 0 ? 1 : -1;
    return codeA - codeB;
}

int WKRN_PreviewFileRow::CompareFileName(const QTreeWidgetItem& a, const QTreeWidgetItem& b)
{
    const WKRN_PreviewFileRow* rowA = AsRow(a);
    const WKRN_PreviewFileRow* rowB = AsRow(b);
    if (rowA == nullptr || rowB == nullptr)
        return int(rowA == nullptr) - int(rowB == nullptr);
    return CompareNoCase(NameOf(rowA->Path()), NameOf(rowB->Path()));
}
