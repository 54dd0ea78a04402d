#include "WTLU/WTLU_ColorDialog.h"

#include <QColorDialog>

namespace
{
WTLU_ColorDialog::Presenter& CurrentPresenter()
{
    static WTLU_ColorDialog::Presenter presenter;
    return presenter;
}

/* Puts a table in Qt's process-wide custom colours for the lifetime of the scope, and on leaving
   copies what the user made of it back into the table and restores what was there before. */
class CustomColorScope
{
public:
    explicit CustomColorScope(WTLU_ColorDialog::CustomColors& table) : m_table(table)
    {
        for (int i = 0; i < WTLU_ColorDialog::kCustomColorCount; ++i)
        {
            m_saved[std::size_t(i)] = QColorDialog::customColor(i);
            const QColor& own = table[std::size_t(i)];
            QColorDialog::setCustomColor(i, own.isValid() ? own : QColor(Qt::white));
        }
    }
    ~CustomColorScope()
    {
        for (int i = 0; i < WTLU_ColorDialog::kCustomColorCount; ++i)
        {
            m_table[std::size_t(i)] = QColorDialog::customColor(i);
            QColorDialog::setCustomColor(i, m_saved[std::size_t(i)]);
        }
    }
    CustomColorScope(const CustomColorScope&) = delete;
    CustomColorScope& operator=(const CustomColorScope&) = delete;

private:
    WTLU_ColorDialog::CustomColors& m_table;
    WTLU_ColorDialog::CustomColors m_saved;
};
} // namespace

WTLU_ColorDialog::CustomColors WTLU_ColorDialog::WhiteTable()
{
    CustomColors table;
    table.fill(QColor(Qt::white));
    return table;
}

std::optional<QColor> WTLU_ColorDialog::Choose(const QColor& initial, CustomColors& customColors,
                                               QWidget* owner, const QString& title)
{
    const Request request{initial, owner, title};
    CustomColorScope scope(customColors);
    if (CurrentPresenter())
        return CurrentPresenter()(request);
    return RunModal(request);
}

std::optional<QColor> WTLU_ColorDialog::RunModal(const Request& request)
{
    QColorDialog dialog(request.initial.isValid() ? request.initial : QColor(Qt::white),
                        request.owner);
    if (!request.title.isEmpty())
        dialog.setWindowTitle(request.title);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QColor chosen = dialog.selectedColor();
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

WTLU_ColorDialog::Presenter WTLU_ColorDialog::SetPresenter(Presenter presenter)
{
    Presenter previous = std::move(CurrentPresenter());
    CurrentPresenter() = std::move(presenter);
    return previous;
}
