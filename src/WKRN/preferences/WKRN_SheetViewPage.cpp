#include "WKRN/preferences/WKRN_SheetViewPage.h"

#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_StringTable.h"
#include "WKRN/palettes/CColorButton.h"
#include "WKRN/palettes/CColorPopup.h" // CColorButton::Popup needs the complete type

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QSpinBox>
#include <QVBoxLayout>

namespace
{
QColor ColorOf(const WKRN_ColorBytes& bytes)
{
    return QColor(bytes.red, bytes.green, bytes.blue);
}
} // namespace

CColorButton* WKRN_SheetViewPage::ColorButton(const WKRN_ColorBytes& color,
                                              const WKRN_ColorBytes& fallback, QWidget* parent)
{
    auto* button = new CColorButton(parent);
    button->SetDefaultColor(ColorOf(fallback));
    button->SetDefaultText(WKRN_StringTable::Load(IDS_DEFAULT_COLOR));
    button->SetCustomText(WKRN_StringTable::Load(IDS_COLOR_PICKER));
    button->SetColor(ColorOf(color));
    return button;
}

WKRN_ColorBytes WKRN_SheetViewPage::BytesOf(const CColorButton& button)
{
    const QColor color =
        (button.IsDefaultChosen() ? button.DefaultColor() : button.Color()).toRgb();
    return {std::uint8_t(color.blue()), std::uint8_t(color.green()), std::uint8_t(color.red())};
}

WKRN_SheetViewPage::WKRN_SheetViewPage(const WKRN_PreferenceValues& values, QWidget* parent)
    : WKRN_PreferencesPage(parent)
{
    setObjectName(QStringLiteral("WKRN_SheetViewPage"));
    const WKRN_PreferenceValues defaults;
    m_pressSheetEdge = ColorButton(values.PressSheetEdgeColor, defaults.PressSheetEdgeColor, this);
    m_bleedEdges = ColorButton(values.BleedEdgeColor, defaults.BleedEdgeColor, this);
    m_pageEdges = ColorButton(values.PageEdgeColor, defaults.PageEdgeColor, this);
    m_showImposition = new QCheckBox(Text("Show Imposition when job opened"), this);
    m_showImposition->setChecked(values.ShowImpositionOnOpen);
    m_unknownInks = ColorButton(values.DefaultSpotColor, defaults.DefaultSpotColor, this);

    auto* imposition = new QGroupBox(Text("Imposition"), this);
    auto* impositionForm = new QFormLayout(imposition);
    impositionForm->addRow(Text("Press Sheet Edge"), m_pressSheetEdge);
    impositionForm->addRow(Text("Bleed Edges"), m_bleedEdges);
    impositionForm->addRow(Text("Page Edges and Numbers"), m_pageEdges);
    impositionForm->addRow(m_showImposition);
    auto* colors = new QGroupBox(Text("Default Colors"), this);
    auto* colorsForm = new QFormLayout(colors);
    // Every colour button at the same size, whatever its label.
    for (QFormLayout* form : {impositionForm, colorsForm})
        form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    colorsForm->addRow(Text("Unknown Inks"), m_unknownInks);
    // The budget bounds every level's tiles; the overview levels give way last.
    m_tileMemory = new QSpinBox(this);
    m_tileMemory->setRange(WKRN_Preferences::kMinTileMemory, WKRN_Preferences::kMaxTileMemory);
    m_tileMemory->setSingleStep(64);
    m_tileMemory->setSuffix(Text(" MiB"));
    m_tileMemory->setValue(values.TileMemory);
    m_tileMemory->setToolTip(Text("Memory for the tiles of each surface shown; "
                                  "beyond it, tiles not on screen are made again when needed"));
    auto* memory = new QGroupBox(Text("Memory"), this);
    auto* memoryForm = new QFormLayout(memory);
    memoryForm->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    memoryForm->addRow(Text("Tile Memory per Surface"), m_tileMemory);
    m_compareAdded = ColorButton(values.CompareAddedColor, defaults.CompareAddedColor, this);
    m_compareRemoved = ColorButton(values.CompareRemovedColor, defaults.CompareRemovedColor, this);
    auto* compare = new QGroupBox(WKRN_StringTable::Load(IDS_COMPARE_TITLE), this);
    auto* compareForm = new QFormLayout(compare);
    compareForm->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    compareForm->addRow(WKRN_StringTable::Load(IDS_COMPARE_ADDED_COLOR), m_compareAdded);
    compareForm->addRow(WKRN_StringTable::Load(IDS_COMPARE_REMOVED_COLOR), m_compareRemoved);
    auto* page = new QVBoxLayout(this);
    page->addWidget(imposition);
    page->addWidget(colors);
    page->addWidget(memory);
    page->addWidget(compare);
    page->addStretch(1);
}

void WKRN_SheetViewPage::Store(WKRN_PreferenceValues& values) const
{
    values.PressSheetEdgeColor = BytesOf(*m_pressSheetEdge);
    values.BleedEdgeColor = BytesOf(*m_bleedEdges);
    values.PageEdgeColor = BytesOf(*m_pageEdges);
    values.ShowImpositionOnOpen = m_showImposition->isChecked();
    values.DefaultSpotColor = BytesOf(*m_unknownInks);
    values.TileMemory = m_tileMemory->value();
    values.CompareAddedColor = BytesOf(*m_compareAdded);
    values.CompareRemovedColor = BytesOf(*m_compareRemoved);
}
