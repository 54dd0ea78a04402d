#pragma once
// The Invalid Files dialog: tells the user which files were refused and why. Two lines of text
// above a list of (file, explanation) rows, and Close. The columns are as wide as their texts
// where the screen allows; a path too long for its column loses its middle, never the file's
// name, and shows whole in its tooltip.

#include <QDialog>
#include <QString>

#include <vector>

class QLabel;
class QPushButton;
class WTLU_SortableListView;

struct WKRN_InvalidFile
{
    QString file;
    QString reason;
};

class WKRN_FileListWindow : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kFileWidth = 190;
    static constexpr int kReasonWidth = 280;

    WKRN_FileListWindow(QWidget* parent, const QString& header, const QString& second,
                        const std::vector<WKRN_InvalidFile>& files);
    ~WKRN_FileListWindow() override;

    // Shows the dialog modally; returns when the user closes it.
    static void Run(QWidget* parent, const QString& header, const QString& second,
                    const std::vector<WKRN_InvalidFile>& files);

    QLabel* HeaderLine() const { return m_header; }
    QLabel* SecondLine() const { return m_second; }
    WTLU_SortableListView* List() const { return m_list; }
    QPushButton* CloseButton() const { return m_close; }

private:
    int FitColumns();

    QLabel* m_header;
    QLabel* m_second;
    WTLU_SortableListView* m_list;
    QPushButton* m_close;
};
