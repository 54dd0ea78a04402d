#pragma once
// The About box: program icon, product name, version, the maker's rights notice and a scrolling
// field with the patent, TIFF library, colour and trademark notices; modal to the active window
// and centred on it.

#include <QDialog>

class QPlainTextEdit;

class WKRN_AboutDialog : public QDialog
{
    Q_OBJECT
public:
    explicit WKRN_AboutDialog(QWidget* owner);

    // The notices of the scrolling field, separated by one empty line each.
    static QString Notices();
    QPlainTextEdit* NoticeField() const { return m_notices; }

    // Shows the box modally over the owner (the active window when null).
    static void Run(QWidget* owner);

private:
    QPlainTextEdit* m_notices = nullptr;
};
