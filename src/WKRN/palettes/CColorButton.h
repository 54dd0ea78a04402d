#pragma once
// A push button that shows a colour and, when pressed, drops down a choice of colours: an item
// for the default colour, a grid of 8 x 5 named colours (the names show as tooltips), and an item
// that opens the platform colour dialog. The owner sets the default colour and the texts of the
// two items; without texts they read "Automatic" and "More Colors...".
//
// ColorChanged is emitted only for a choice the user made, never for SetColor.

#include "WTLU/WTLU_ColorDialog.h"

#include <QColor>
#include <QPointer>
#include <QPushButton>
#include <QString>

#include <array>

class CColorPopup;

class CColorButton : public QPushButton
{
    Q_OBJECT
public:
    static constexpr int kColumns = 8;
    static constexpr int kRows = 5;
    static constexpr int kGridCount = kColumns * kRows;

    struct NamedColor
    {
        const char* name;
        QRgb rgb;
    };
    // The grid row by row.
    static const std::array<NamedColor, kGridCount>& Grid();

    explicit CColorButton(QWidget* parent = nullptr);
    ~CColorButton() override;

    QColor Color() const { return m_color; }
    void SetColor(const QColor& color);
    QColor DefaultColor() const { return m_defaultColor; }
    void SetDefaultColor(const QColor& color) { m_defaultColor = color; }
    // Whether the last choice was the default item (reset by SetColor).
    bool IsDefaultChosen() const { return m_defaultChosen; }

    // The texts of the default and custom items; an empty text gives the built-in one.
    void SetDefaultText(const QString& text) { m_defaultText = text; }
    void SetCustomText(const QString& text) { m_customText = text; }
    QString DefaultText() const;
    QString CustomText() const;

    // Drops the choice down under the button (above it when there is no room below).
    void ShowPopup();
    // The drop-down while it is open, else null.
    CColorPopup* Popup() const;

    // The custom colours of the colour dialog that every colour button of the run shares.
    static WTLU_ColorDialog::CustomColors& CustomColors();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void ColorChanged(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class CColorPopup;
    // What the drop-down reports: a grid index, or one of the two items.
    static constexpr int kDefaultItem = -1;
    static constexpr int kCustomItem = kGridCount;
    void Choose(int item);
    void ChooseWithDialog();

    QColor m_color = Qt::black;
    QColor m_defaultColor = Qt::black;
    bool m_defaultChosen = false;
    QString m_defaultText;
    QString m_customText;
    QPointer<CColorPopup> m_popup;
};
