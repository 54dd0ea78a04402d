#pragma once
// The small dock of a job window that keeps the densitometer readings the user clicked: one row
// per reading (where it was taken and the total), the inks beneath it, newest first.

#include <QDockWidget>
#include <QString>

#include <vector>

class QTreeWidget;

class WKRN_DensitometerDock : public QDockWidget
{
    Q_OBJECT
public:
    explicit WKRN_DensitometerDock(QWidget* parent = nullptr);

    struct Ink
    {
        QString name;
        double percent = 0;
    };
    // Adds a reading at the top and shows it.
    void AddReading(const QString& position, const std::vector<Ink>& inks, double total);
    void Clear();
    int ReadingCount() const;
    QTreeWidget* Readings() const { return m_Tree; }

private:
    QTreeWidget* m_Tree;
};
