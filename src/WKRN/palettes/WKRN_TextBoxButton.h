#pragma once
// The name field of a separation row: a sunken box that shows one of up to three texts (ink
// name, file name, CMYK equivalent) and, when clicked, the next one, cyclically. The full text
// is also its tooltip, since the box is often narrower than a file name.

#include <QStringList>
#include <QWidget>

class WKRN_TextBoxButton : public QWidget
{
    Q_OBJECT
public:
    explicit WKRN_TextBoxButton(QWidget* parent = nullptr);

    // Shows the first text.
    void SetTexts(const QStringList& texts);
    const QStringList& Texts() const { return m_texts; }
    int Index() const { return m_index; }
    // Shows the text at this position; false (and nothing changes) when there is none.
    bool SetIndex(int index);
    QString Text() const;

    QSize sizeHint() const override;

signals:
    // After a click has moved on to the next text.
    void Clicked(Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Advance(Qt::KeyboardModifiers modifiers);

    QStringList m_texts;
    int m_index = 0;
    bool m_pressed = false;
};
