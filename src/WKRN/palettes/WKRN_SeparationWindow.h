#pragma once
// The separations palette of a job window: the separations of the sheet shown, grouped by
// surface (the surface facing the viewer first), with a row per surface holding its opacity and a
// row per separation holding its visibility, opacity, display colour and names.
//
// Changes go straight to the separations and surfaces of the sheet; the palette then tells its
// job window, which redraws: 0x8018 a colour or opacity changed, 0x8019 a visibility changed,
// 0x801A a surface's opacity changed. While the colour dialog is open the job window has heard
// 0x801B; 0x801C follows however the dialog ends. A colour picked for an ink that no colour
// database knew is kept as a custom colour under the ink's name and saved; 0x8017 then asks for
// every job window to take it up.
//
// Messages to the palette: 0x8016 (wParam 1: the front surface faces the viewer) re-orders the
// groups; 0x801A sets the slider of the surface facing the viewer.
//
// The palette refreshes itself when its job window reports that colours changed (ColoursChanged);
// a refresh decides every separation's colour again, which drops colours picked and not kept.

#include "IMPN/IMPN_SheetReference.h"

#include "WTLU/WTLU_ColorDialog.h"

#include <QWidget>

#include <vector>

class IMPN_Separation;
class IMPN_Surface;
class WKRN_SeparationWindowRow;
class WKRN_SeparationWindowSurfaceRow;
class WKRN_SheetWindowHost;

class WKRN_SeparationWindow : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kWidth = 270;
    static constexpr int kTopMargin = 4;
    static constexpr int kGroupGap = 4;

    explicit WKRN_SeparationWindow(WKRN_SheetWindowHost& job, QWidget* parent = nullptr);
    ~WKRN_SeparationWindow() override;

    // Shows the separations of a sheet (replacing those of a sheet shown before); frontFaces:
    // the front surface faces the viewer.
    void SetSheet(const IMPN_SheetReference& sheet, bool frontFaces);
    const IMPN_SheetReference& Sheet() const { return m_sheet; }
    bool FrontFaces() const { return m_frontFaces; }

    // Every separation decides its colour again and shows it; colours the user picked and that
    // were not kept as custom colours are dropped.
    void Refresh();

    // The rows in the order shown; the surface rows of surfaces without separations are absent.
    const std::vector<WKRN_SeparationWindowRow*>& Rows() const { return m_rows; }
    WKRN_SeparationWindowRow* RowOf(const IMPN_Separation& separation) const;
    WKRN_SeparationWindowSurfaceRow* SurfaceRowOf(const IMPN_Surface& surface) const;

    // The custom colours of the colour dialog, shared by every separations palette of the run.
    static WTLU_ColorDialog::CustomColors& CustomColors();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Rebuild();
    void LayOut();
    int ContentHeight() const;
    void SendToJob(int message, quintptr wParam = 0);
    std::vector<WKRN_SeparationWindowRow*> RowsOfSurface(const WKRN_SeparationWindowRow* row) const;

    void OnVisibilityClicked(WKRN_SeparationWindowRow* row, bool checked,
                             Qt::KeyboardModifiers modifiers);
    void OnOpacityMoved(WKRN_SeparationWindowRow* row, int opacity);
    void OnSwatchClicked(WKRN_SeparationWindowRow* row, Qt::KeyboardModifiers modifiers);
    void OnNameClicked(WKRN_SeparationWindowRow* row, Qt::KeyboardModifiers modifiers);
    void OnSurfaceOpacityMoved(WKRN_SeparationWindowSurfaceRow* row, int opacity);
    void PickColour(WKRN_SeparationWindowRow& row);
    void KeepAsCustomColour(const IMPN_Separation& separation);

    WKRN_SheetWindowHost& m_job;
    IMPN_SheetReference m_sheet;
    bool m_frontFaces = true;
    WKRN_SeparationWindowSurfaceRow* m_frontRow = nullptr;
    WKRN_SeparationWindowSurfaceRow* m_backRow = nullptr;
    std::vector<WKRN_SeparationWindowRow*> m_frontRows;
    std::vector<WKRN_SeparationWindowRow*> m_backRows;
    std::vector<WKRN_SeparationWindowRow*> m_rows;
    int m_nameColumn = 45;
};
