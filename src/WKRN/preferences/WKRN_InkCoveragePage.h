#pragma once
// The Ink Coverage page of the Preferences dialog: the side of the densitometer's square aperture
// and the total-ink limit the Ink Limit overlay hatches above.

#include "WKRN/preferences/WKRN_PreferencesPage.h"

class QDoubleSpinBox;
class QSpinBox;

class WKRN_InkCoveragePage : public WKRN_PreferencesPage
{
    Q_OBJECT
public:
    WKRN_InkCoveragePage(const WKRN_PreferenceValues& values, QWidget* parent = nullptr);

    // Millimetres with three decimals, so that every stored micrometre value shows exactly and
    // is stored back unchanged.
    QDoubleSpinBox* Aperture() const { return m_aperture; }
    QSpinBox* InkLimit() const { return m_limit; }

    void Store(WKRN_PreferenceValues& values) const override;

private:
    QDoubleSpinBox* m_aperture;
    QSpinBox* m_limit;
};
