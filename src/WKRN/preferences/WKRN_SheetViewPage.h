#pragma once
// The Sheet page of the Preferences dialog: the colours of the imposition overlays, whether a job
// opens with them shown, the colour of inks that no colour database knows, the memory kept for
// the tiles of each surface, and the colours of a comparison with another version.

#include "WKRN/preferences/WKRN_PreferencesPage.h"

class CColorButton;
class QCheckBox;
class QSpinBox;

class WKRN_SheetViewPage : public WKRN_PreferencesPage
{
    Q_OBJECT
public:
    WKRN_SheetViewPage(const WKRN_PreferenceValues& values, QWidget* parent = nullptr);

    CColorButton* PressSheetEdge() const { return m_pressSheetEdge; }
    CColorButton* BleedEdges() const { return m_bleedEdges; }
    CColorButton* PageEdges() const { return m_pageEdges; }
    QCheckBox* ShowImposition() const { return m_showImposition; }
    CColorButton* UnknownInks() const { return m_unknownInks; }
    QSpinBox* TileMemory() const { return m_tileMemory; }
    CColorButton* CompareAdded() const { return m_compareAdded; }
    CColorButton* CompareRemoved() const { return m_compareRemoved; }

    void Store(WKRN_PreferenceValues& values) const override;

    // A colour button of the dialog: its default item gives the preference's documented default.
    static CColorButton* ColorButton(const WKRN_ColorBytes& color, const WKRN_ColorBytes& fallback,
                                     QWidget* parent);
    // The colour a button stands for: the default colour when its default item was chosen.
    static WKRN_ColorBytes BytesOf(const CColorButton& button);

private:
    CColorButton* m_pressSheetEdge;
    CColorButton* m_bleedEdges;
    CColorButton* m_pageEdges;
    QCheckBox* m_showImposition;
    CColorButton* m_unknownInks;
    QSpinBox* m_tileMemory;
    CColorButton* m_compareAdded;
    CColorButton* m_compareRemoved;
};
