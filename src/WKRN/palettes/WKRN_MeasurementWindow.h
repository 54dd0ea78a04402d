#pragma once
// The measurement palette of a job window: where the pointer is on the sheet and, while the
// Measure tool drags, the offset, distance and angle from the drag's start. The values arrive in
// the preferred linear unit, relayed by the job window (message 0x8021); this window only formats
// them, with the precisions and the language of the run.
//
// It is the content of a palette frame: the frame owns the caption, the close box and the
// activation notices.

#include <QWidget>

#include <optional>

class WKRN_MeasurementPanel;
class WKRN_SheetWindowHost;
class WTLU_MessageEvent;

class WKRN_MeasurementWindow : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kWidth = 270;
    static constexpr int kTop = 4;
    static constexpr int kRows = 3;

    WKRN_MeasurementWindow(WKRN_SheetWindowHost& job, QWidget* parent = nullptr);

    // Row 1: the pointer position.
    void ShowPosition(double h, double v, int unit);
    // Rows 2 and 3: the offset, then its distance and angle.
    void ShowMeasurement(double dh, double dv, int unit);
    // Empties the three values.
    void Clear();
    // Shows the values again in the preferred unit and precisions of the moment (the Preferences
    // dialog applied new ones).
    void FollowPreferences();

    // Rows in order: position, offset, distance and angle.
    WKRN_MeasurementPanel* Row(int index) const;

    QSize sizeHint() const override;

protected:
    bool event(QEvent* event) override;

private:
    void ReceiveMeasurement(const WTLU_MessageEvent& message);

    // The values shown, in the unit they were shown in.
    struct Shown
    {
        double h = 0, v = 0;
        int unit = 0;
    };

    WKRN_SheetWindowHost& m_job;
    std::optional<Shown> m_position;
    std::optional<Shown> m_offset;
    WKRN_MeasurementPanel* m_rows[kRows] = {};
};
