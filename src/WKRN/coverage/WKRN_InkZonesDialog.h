#pragma once
// The Ink Zones dialog: the zone profile of the surface facing the viewer, for presetting the ink
// keys of the press. The press's own grid of zones (a zone width, a number of zones and the
// offset of the sheet's centre from the press's centre, IMPN_InkZones) is laid over the picture,
// chosen from the presses of the Preferences or typed; each zone holds the columns whose centre
// lies in it, over the full height. Each ink gets a bar chart of its coverage per zone; a zone
// without a column of the plate has no bar and reads "-" in the export. The dialog shows the
// geometry it counted, never a field that disagrees with the zones. Counting runs on the
// surface's coverage worker with a progress bar, and the profile can be exported as CSV, which
// opens with a comment line of the job, the surface and the geometry.

#include "IMPN/IMPN_InkCoverage.h"
#include "IMPN/IMPN_InkZones.h"
#include "WKRN/preferences/WKRN_Preferences.h"

#include <QColor>
#include <QDialog>
#include <QString>

#include <optional>
#include <vector>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
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
    // What the profile is of: for the export's comment line and its proposed file name.
    struct Subject
    {
        QString job;
        QString sheet;
        std::uint32_t signature = 0;
        std::uint32_t web = 0;
        bool back = false;
        QString folder; // where the export is proposed
    };

    // worker: the surface's; inkNames and their display colours in the surface's order;
    // xResolution: dots per inch of the picture (0 when unknown: no zones can be placed);
    // presets: the presses offered, the first one chosen at first.
    WKRN_InkZonesDialog(WKRN_CoverageWorker& worker, std::vector<QString> inkNames,
                        std::vector<QColor> inkColours, double xResolution, Subject subject,
                        std::vector<WKRN_ZonePreset> presets, QWidget* parent = nullptr);
    ~WKRN_InkZonesDialog() override;

    // Counts the profile for the geometry set now.
    void Count();
    // Sets the fields, each taken into its range (widths and offsets in micrometres).
    void SetGeometry(const IMPN_InkZones::Geometry& geometry);
    // The geometry the fields hold.
    IMPN_InkZones::Geometry Geometry() const;
    // Chooses a preset by its place in the list (the last entry is "Other press").
    void ChoosePreset(int index);
    // The fewest zones of the current width that span the plate.
    void SpanPlate();

    // The latest complete profile, if any: the counts of the column bands, and for each zone
    // the band that holds its columns, if any; and the geometry it was counted for.
    const std::optional<IMPN_InkCoverageCounts>& Profile() const { return m_Profile; }
    const std::vector<std::optional<std::size_t>>& ZoneBands() const { return m_ZoneBands; }
    const IMPN_InkZones::Geometry& CountedGeometry() const { return m_Counted; }
    // The coverage of ink k in zone z, in percent; nothing for a zone off the plate.
    std::optional<double> ZonePercent(std::size_t ink, std::size_t zone) const;
    // The text that tells the geometry used.
    QString GeometryText() const;

    // Writes the profile as CSV; false (and nothing written) without a profile or on a write
    // failure.
    bool ExportTo(const QString& path) const;
    // The file name the export proposes: job, signature, web and surface, ".csv".
    QString SuggestedFileName() const;
    // The path with ".csv" added when its file name has no extension.
    static QString WithCsvExtension(const QString& path);

signals:
    void Counted();

private:
    void ShowProfile();
    void FieldsEdited();
    void ChooseExportFile();
    void ShowGeometry();

    WKRN_CoverageWorker& m_Worker;
    std::vector<QString> m_Names;
    std::vector<QColor> m_Colours;
    double m_XResolution;
    Subject m_Subject;
    std::vector<WKRN_ZonePreset> m_Presets;
    QComboBox* m_Preset;
    QDoubleSpinBox* m_Width;
    QSpinBox* m_Zones;
    QDoubleSpinBox* m_Offset;
    QPushButton* m_Span;
    QLabel* m_Geometry;
    QProgressBar* m_Progress;
    QPushButton* m_Export;
    QVBoxLayout* m_Charts;
    QTimer* m_Recount = nullptr;
    std::optional<IMPN_InkCoverageCounts> m_Profile;
    std::vector<std::optional<std::size_t>> m_ZoneBands;
    IMPN_InkZones::Geometry m_Counted;
};
