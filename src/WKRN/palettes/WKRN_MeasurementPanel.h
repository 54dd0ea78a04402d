#pragma once
// One row of the measurement palette: a label ("Current ( h, v ) :") and the value text beside
// it, 270 x 24 pixels.

#include <QWidget>

class QLabel;

class WKRN_MeasurementPanel : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kWidth = 270;
    static constexpr int kHeight = 24;

    WKRN_MeasurementPanel(const QString& label, QWidget* parent = nullptr);

    QString Label() const;
    QString Value() const;
    void SetValue(const QString& value);

    QSize sizeHint() const override { return {kWidth, kHeight}; }

private:
    QLabel* m_label;
    QLabel* m_value;
};
