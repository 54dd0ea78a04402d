#pragma once
// The preview of the navigation palette's colours on the Navigation page of the Preferences
// dialog: a small sample sheet veiled by the fog, with a visible area framed by the outline,
// drawn by the palette's rules, following every change of the page's buttons and sliders.

#include "WKRN/preferences/WKRN_Preferences.h"

#include <QImage>
#include <QWidget>

class WKRN_NavigationPreviewPane : public QWidget
{
    Q_OBJECT
public:
    explicit WKRN_NavigationPreviewPane(QWidget* parent = nullptr);

    void SetOutline(const WKRN_NavigationColor& outline);
    void SetFog(const WKRN_NavigationColor& fog);
    const WKRN_NavigationColor& Outline() const { return m_outline; }
    const WKRN_NavigationColor& Fog() const { return m_fog; }

    // The picture the pane shows: the sample with the fog over all of it but the view rectangle,
    // and a one-pixel outline around that rectangle.
    QImage Picture() const;
    // The view rectangle within the picture.
    QRect ViewRect() const;

    // The navigation palette's blend: the fog (or outline) colour filled, the thumbnail laid
    // over it with constant alpha (100 - percentage) x 255 / 100.
    static QImage Veil(const QImage& thumbnail, const QRect& view,
                       const WKRN_NavigationColor& outline, const WKRN_NavigationColor& fog);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static QImage Sample();

    WKRN_NavigationColor m_outline;
    WKRN_NavigationColor m_fog;
    QImage m_sample;
};
