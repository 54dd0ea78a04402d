#pragma once
// The Navigation page of the Preferences dialog: the outline and fog colours of the navigation
// palette with their opacities, a live preview of both, and whether a job opens fitted to its
// window.

#include "WKRN/preferences/WKRN_PreferencesPage.h"

class CColorButton;
class QCheckBox;
class QSlider;
class WKRN_NavigationPreviewPane;

class WKRN_NavigationPage : public WKRN_PreferencesPage
{
    Q_OBJECT
public:
    static constexpr int kOutlineMinimum = 25;
    static constexpr int kOutlineMaximum = 100;
    static constexpr int kFogMinimum = 0;
    static constexpr int kFogMaximum = 75;

    WKRN_NavigationPage(const WKRN_PreferenceValues& values, QWidget* parent = nullptr);

    CColorButton* OutlineColor() const { return m_outlineColor; }
    QSlider* OutlineOpacity() const { return m_outlineOpacity; }
    CColorButton* FogColor() const { return m_fogColor; }
    QSlider* FogOpacity() const { return m_fogOpacity; }
    WKRN_NavigationPreviewPane* Preview() const { return m_preview; }
    QCheckBox* ZoomToFit() const { return m_zoomToFit; }

    // The two colours as the controls hold them now.
    WKRN_NavigationColor Outline() const;
    WKRN_NavigationColor Fog() const;

    void Store(WKRN_PreferenceValues& values) const override;

private:
    void UpdatePreview();

    CColorButton* m_outlineColor;
    QSlider* m_outlineOpacity;
    CColorButton* m_fogColor;
    QSlider* m_fogOpacity;
    WKRN_NavigationPreviewPane* m_preview;
    QCheckBox* m_zoomToFit;
};
