#pragma once
// One separation's row in the separations palette: visibility check box, opacity slider, colour
// swatch and name field. The row shows what its separation holds and reports what the user does
// with the modifiers held; the palette changes the separation, since several rules reach across
// rows (Ctrl and Shift clicks).
//
// Width rules: narrower than 140 pixels the name field goes, at 100 pixels or less the slider too.

#include <QStringList>
#include <QWidget>

class IMPN_Separation;
class QCheckBox;
class QSlider;
class WKRN_InkSwatchControl;
class WKRN_TextBoxButton;

class WKRN_SeparationWindowRow : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kHeight = 24;
    static constexpr int kNameFieldWidth = 140;
    static constexpr int kSliderWidth = 101;

    WKRN_SeparationWindowRow(IMPN_Separation& separation, QWidget* parent = nullptr);

    IMPN_Separation& Separation() const { return m_separation; }
    // Check box, slider and swatch from the separation, without reporting anything.
    void Update();

    // The texts of the name field: ink name, file name and, with a CMYK equivalent,
    // "CMYK[ c, m, y, k ]" in whole percent.
    static QStringList NameTexts(const IMPN_Separation& separation);

    QCheckBox* VisibilityBox() const { return m_visible; }
    QSlider* OpacitySlider() const { return m_opacity; }
    WKRN_InkSwatchControl* Swatch() const { return m_swatch; }
    WKRN_TextBoxButton* NameField() const { return m_name; }

signals:
    void VisibilityClicked(WKRN_SeparationWindowRow* row, bool checked,
                           Qt::KeyboardModifiers modifiers);
    void OpacityMoved(WKRN_SeparationWindowRow* row, int opacity);
    void SwatchClicked(WKRN_SeparationWindowRow* row, Qt::KeyboardModifiers modifiers);
    void NameClicked(WKRN_SeparationWindowRow* row, Qt::KeyboardModifiers modifiers);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void LayOut();

    IMPN_Separation& m_separation;
    QCheckBox* m_visible = nullptr;
    QSlider* m_opacity = nullptr;
    WKRN_InkSwatchControl* m_swatch = nullptr;
    WKRN_TextBoxButton* m_name = nullptr;
    // The modifiers of the last mouse release or key press on the check box: its clicked signal
    // does not carry them, and the keyboard state may have changed by the time it is emitted.
    Qt::KeyboardModifiers m_boxModifiers;
};
