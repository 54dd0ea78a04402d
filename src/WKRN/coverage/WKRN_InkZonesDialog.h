#pragma once
// The Ink Zones dialog: the zone profile of the surface facing the viewer, for presetting the ink
// keys of the press. The picture's width is split into N zones (zone k: columns
// floor(k * W / N) to floor((k + 1) * W / N) - 1, full height); each ink gets a bar chart of its
// coverage per zone. The zone count, or the zone width in millimetres that gives it, is set in
// the dialog (32 zones at first); counting runs on the surface's coverage worker with a progress
// bar, and the profile can be exported as CSV.

#include "IMPN/IMPN_InkCoverage.h"

#include <QColor>
#include <QDialog>
#include <QString>

#include <optional>
#include <vector>

class QDoubleSpinBox;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTimer;
class QVBoxLayout;
class WKRN_CoverageWorker;

class WKRN_InkZonesDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kDefaultZones = 32;
    static constexpr int kMaxZones = 512;

    // worker: the surface's; inkNames and their display colours in the surface's order;
    // xResolution: dots per inch of the picture (for the zone width; 0 when unknown).
    WKRN_InkZonesDialog(WKRN_CoverageWorker& worker, std::vector<QString> inkNames,
                        std::vector<QColor> inkColours, double xResolution,
                        QWidget* parent = nullptr);
    ~WKRN_InkZonesDialog() override;

    // Counts the profile for the zone count set now.
    void Count();
    void SetZoneCount(int zones);
    int ZoneCount() const;

    // The latest complete profile, if any.
    const std::optional<IMPN_InkCoverageCounts>& Profile() const { return m_Profile; }
    // Writes the profile as CSV; false (and nothing written) without a profile or on a write
    // failure.
    bool ExportTo(const QString& path) const;

signals:
    void Counted();

private:
    void ShowProfile();
    void ZoneWidthEdited(double millimetres);
    void ChooseExportFile();
    double PictureWidthMillimetres() const;

    WKRN_CoverageWorker& m_Worker;
    std::vector<QString> m_Names;
    std::vector<QColor> m_Colours;
    double m_XResolution;
    QSpinBox* m_Zones;
    QDoubleSpinBox* m_Width;
    QProgressBar* m_Progress;
    QPushButton* m_Export;
    QVBoxLayout* m_Charts;
    QTimer* m_Recount;
    std::optional<IMPN_InkCoverageCounts> m_Profile;
};
