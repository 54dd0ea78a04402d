#pragma once
// The heading row of one surface in the separations palette: the surface's name and a slider
// with the surface's opacity. From 140 pixels on it shows the long name ("Front Surface") and the
// slider after the name column; narrower, the short name ("Front") in 30 pixels and the slider
// from 45 pixels; at 100 pixels or less the slider goes.

#include <QString>
#include <QWidget>

class IMPN_Surface;
class QLabel;
class QSlider;

class WKRN_SeparationWindowSurfaceRow : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kHeight = 28;
    static constexpr int kLongNameWidth = 140;
    static constexpr int kSliderWidth = 101;
    static constexpr int kShortNameWidth = 30;
    static constexpr int kShortSliderLeft = 45;
    static constexpr int kRightMargin = 5;

    // nameColumn: the width of the long-name column, the same for both surfaces.
    WKRN_SeparationWindowSurfaceRow(IMPN_Surface& surface, const QString& longName,
                                    const QString& shortName, int nameColumn,
                                    QWidget* parent = nullptr);

    IMPN_Surface& Surface() const { return m_surface; }
    // The slider from the surface's opacity, without reporting anything.
    void Update();
    // The slider at an opacity told by the job window, without reporting anything.
    void SetSliderPosition(int opacity);

    QLabel* NameLabel() const { return m_name; }
    QSlider* OpacitySlider() const { return m_opacity; }

signals:
    void OpacityMoved(WKRN_SeparationWindowSurfaceRow* row, int opacity);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void LayOut();

    IMPN_Surface& m_surface;
    QString m_longName;
    QString m_shortName;
    int m_nameColumn;
    QLabel* m_name = nullptr;
    QSlider* m_opacity = nullptr;
};
