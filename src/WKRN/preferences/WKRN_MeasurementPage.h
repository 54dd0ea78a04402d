#pragma once
// The Measurement page of the Preferences dialog: the preferred linear unit and the precisions
// of lengths and angles, with a sample of how a measured distance and angle then read.

#include "WKRN/preferences/WKRN_PreferencesPage.h"

class QLineEdit;
class QListWidget;
class QSlider;

class WKRN_MeasurementPage : public WKRN_PreferencesPage
{
    Q_OBJECT
public:
    // The distance and angle the sample shows.
    static constexpr double kSampleDistance = 1234.56789878;
    static constexpr double kSampleAngle = 123.45678987;

    WKRN_MeasurementPage(const WKRN_PreferenceValues& values, QWidget* parent = nullptr);

    QListWidget* Units() const { return m_units; }
    QSlider* LinearPrecision() const { return m_linear; }
    QSlider* AngularPrecision() const { return m_angular; }
    QString SampleText() const;

    void Store(WKRN_PreferenceValues& values) const override;

private:
    void UpdateSample();

    QListWidget* m_units;
    QSlider* m_linear;
    QSlider* m_angular;
    QLineEdit* m_sample;
};
