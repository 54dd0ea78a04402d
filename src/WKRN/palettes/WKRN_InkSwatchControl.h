#pragma once
// The colour swatch of one separation row: the ink's current colour as it looks at its opacity
// over white paper. An ink that no colour database knew (it shows the default colour for new
// inks) is marked with a diagonal stroke, so that the user sees which inks still wait for a
// colour of their own.
//
// A click (or Space while it has the focus) reports the keyboard modifiers held; the row decides
// what the click means.

#include "IMPN/IMPN_ColorRecord.h"

#include <QWidget>

class WKRN_InkSwatchControl : public QWidget
{
    Q_OBJECT
public:
    explicit WKRN_InkSwatchControl(QWidget* parent = nullptr);

    void SetColor(const IMPN_ColorRecord& color);
    const IMPN_ColorRecord& Color() const { return m_color; }
    // What the swatch paints inside its border.
    QColor ShownColor() const;

    QSize sizeHint() const override { return QSize(20, 20); }

signals:
    void Clicked(Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    IMPN_ColorRecord m_color;
    bool m_pressed = false;
};
