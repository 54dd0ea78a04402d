#include "WKRN/coverage/WKRN_DensitometerDock.h"

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_StringTable.h"
#include "WKRN/coverage/WKRN_CoverageTexts.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

WKRN_DensitometerDock::WKRN_DensitometerDock(QWidget* parent)
    : QDockWidget(WKRN_StringTable::Load(IDS_DENSITOMETER_TITLE), parent)
{
    setObjectName(QStringLiteral("WKRN_DensitometerDock"));
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(2, 2, 2, 2);
    m_Tree = new QTreeWidget(body);
    m_Tree->setColumnCount(2);
    m_Tree->setHeaderLabels({WKRN_StringTable::Load(IDS_DENSITOMETER_POSITION) +
                                 QStringLiteral(" / ") + WKRN_StringTable::Load(IDS_COVERAGE_INK),
                             QStringLiteral("%")});
    m_Tree->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_Tree->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_Tree->header()->setStretchLastSection(false);
    m_Tree->setRootIsDecorated(true);
    layout->addWidget(m_Tree);
    auto* clear = new QPushButton(WKRN_StringTable::Load(IDS_DENSITOMETER_CLEAR), body);
    connect(clear, &QPushButton::clicked, this, &WKRN_DensitometerDock::Clear);
    layout->addWidget(clear, 0, Qt::AlignRight);
    setWidget(body);
}

void WKRN_DensitometerDock::AddReading(const QString& position, const std::vector<Ink>& inks,
                                       double total)
{
    const QString totalName = WKRN_StringTable::Load(IDS_COVERAGE_TOTAL);
    auto* reading = new QTreeWidgetItem(QStringList{
        position + QStringLiteral(" \u2014 ") + totalName, WKRN_CoverageTexts::Percent(total)});
    for (const Ink& ink : inks)
        reading->addChild(
            new QTreeWidgetItem(QStringList{ink.name, WKRN_CoverageTexts::Percent(ink.percent)}));
    m_Tree->insertTopLevelItem(0, reading);
    reading->setExpanded(true);
    m_Tree->setCurrentItem(reading);
    show();
    raise();
}

void WKRN_DensitometerDock::Clear()
{
    m_Tree->clear();
}

int WKRN_DensitometerDock::ReadingCount() const
{
    return m_Tree->topLevelItemCount();
}
