#include "WKRN/palettes/WKRN_EditColorDialog.h"

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_StringTable.h"
#include "WKRN/palettes/WKRN_ColorDBBrowser.h"

#include "IMPN/IMPN_ColorDatabases.h"
#include "WTLU/WTLU_MessageBox.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>
#include <optional>
#include <vector>

WKRN_EditColorDialog::WKRN_EditColorDialog(QWidget* parent, IMPN_ColorDatabases* databases)
    : QDialog(parent), m_databases(databases ? *databases : IMPN_ColorDatabases::Global())
{
    setObjectName(QStringLiteral("WKRN_EditColorDialog"));
    setWindowTitle(WKRN_StringTable::Load(IDS_EDIT_CUSTOM_COLORS_TITLE));

    m_list = new WKRN_ColorDBBrowser(this);
    std::vector<ColorDBItem> items;
    for (const auto& [name, entry] : m_databases.CustomColors())
        if (entry.Space() == IMPN_ColorSpace::RGB)
            items.push_back({name, entry.BGR()});
    m_list->SetItems(items);

    m_edit = new QPushButton(WKRN_StringTable::Load(IDS_EDIT_COLOR_BUTTON), this);
    m_delete = new QPushButton(WKRN_StringTable::Load(IDS_DELETE_COLOR_BUTTON), this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_cancel = buttons->button(QDialogButtonBox::Cancel);

    auto* side = new QVBoxLayout;
    side->addWidget(m_edit);
    side->addWidget(m_delete);
    side->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(m_list, 1);
    top->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    m_list->setMinimumWidth(WKRN_ColorDBBrowser::kColumnWidth + 4);

    connect(m_edit, &QPushButton::clicked, this, &WKRN_EditColorDialog::EditSelected);
    connect(m_delete, &QPushButton::clicked, this, &WKRN_EditColorDialog::DeleteSelected);
    connect(buttons, &QDialogButtonBox::accepted, this, &WKRN_EditColorDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &WKRN_EditColorDialog::reject);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &WKRN_EditColorDialog::UpdateButtons);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] { EditSelected(); });
    UpdateButtons();
}

bool WKRN_EditColorDialog::Run(QWidget* parent)
{
    WKRN_EditColorDialog dialog(parent);
    return dialog.exec() == QDialog::Accepted;
}

WTLU_ColorDialog::CustomColors& WKRN_EditColorDialog::CustomColors()
{
    static WTLU_ColorDialog::CustomColors table = WTLU_ColorDialog::WhiteTable();
    return table;
}

void WKRN_EditColorDialog::UpdateButtons()
{
    const std::size_t selected = m_list->SelectedRows().size();
    m_edit->setEnabled(selected == 1);
    m_delete->setEnabled(selected >= 1);
    m_ok->setEnabled(!m_edited.empty() || !m_deleted.empty());
    m_cancel->setEnabled(true);
}

void WKRN_EditColorDialog::EditSelected()
{
    const std::vector<int> rows = m_list->SelectedRows();
    if (rows.size() != 1)
        return;
    const ColorDBItem item = m_list->Item(rows.front());
    const QColor start(item.color[2], item.color[1], item.color[0]);
    const std::optional<QColor> chosen = WTLU_ColorDialog::Choose(start, CustomColors(), this);
    if (!chosen)
        return;
    const QColor rgb = chosen->toRgb();
    m_list->SetRowColor(rows.front(),
                        IMPN_MakeColorBGR(std::uint8_t(rgb.red()), std::uint8_t(rgb.green()),
                                          std::uint8_t(rgb.blue())));
    m_edited.insert(item.name);
    UpdateButtons();
}

void WKRN_EditColorDialog::DeleteSelected()
{
    const std::vector<int> rows = m_list->SelectedRows();
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
    {
        const std::string name = m_list->Item(*it).name;
        m_edited.erase(name);
        m_deleted.insert(name);
        m_list->RemoveRow(*it);
    }
    UpdateButtons();
}

/* Only what the user changed is written back: an entry the list does not show, or one stored
   meanwhile by a separations palette, is left as it is. */
void WKRN_EditColorDialog::accept()
{
    for (const std::string& name : m_deleted)
        m_databases.RemoveCustomColor(name);
    for (const ColorDBItem& item : m_list->Items())
        if (m_edited.count(item.name) != 0)
            m_databases.StoreCustomColor(item.name, item.color);
    try
    {
        m_databases.SaveCustomColors();
    }
    catch (const std::exception& error)
    {
        WTLU_MessageBox::ShowWarning(WKRN_StringTable::Load(IDS_CUSTOM_COLORS_NOT_SAVED),
                                     WKRN_StringTable::Load(IDS_CUSTOM_COLORS_KEPT_FOR_RUN),
                                     QString::fromLocal8Bit(error.what()), this);
    }
    QDialog::accept();
}
