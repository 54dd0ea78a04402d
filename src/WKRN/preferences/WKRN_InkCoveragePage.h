#pragma once
// The Ink Coverage page of the Preferences dialog: the side of the densitometer's square aperture,
// the total-ink limit the Ink Limit overlay hatches above and the measuring area it is taken
// over, and the list of presses (zone width and zone count) the Ink Zones dialog offers.

#include "WKRN/preferences/WKRN_PreferencesPage.h"

class QDoubleSpinBox;
class QPushButton;
class QSpinBox;
class QTableWidget;

class WKRN_InkCoveragePage : public WKRN_PreferencesPage
{
    Q_OBJECT
public:
    WKRN_InkCoveragePage(const WKRN_PreferenceValues& values, QWidget* parent = nullptr);

    // Millimetres with three decimals, so that every stored micrometre value shows exactly and
    // is stored back unchanged.
    QDoubleSpinBox* Aperture() const { return m_aperture; }
    QSpinBox* InkLimit() const { return m_limit; }
    QDoubleSpinBox* InkLimitArea() const { return m_area; }
    // One row a press: name, zone width (a millimetre spin box) and zone count (a spin box).
    QTableWidget* Presets() const { return m_presets; }
    QPushButton* AddPreset() const { return m_add; }
    QPushButton* RemovePreset() const { return m_remove; }

    void Store(WKRN_PreferenceValues& values) const override;

private:
    void AppendPreset(const WKRN_ZonePreset& preset);

    QDoubleSpinBox* m_aperture;
    QSpinBox* m_limit;
    QDoubleSpinBox* m_area;
    QTableWidget* m_presets;
    QPushButton* m_add;
    QPushButton* m_remove;
};
