#pragma once
// The platform colour dialog, shown fully open with a table of 16 custom colours that belongs to
// the caller. Qt keeps one process-wide set of custom colours for every colour dialog; each use
// here puts the caller's table in place first and takes it back afterwards, restoring what was
// there before, so that every caller (a palette, a dialog, a colour button) keeps its own table
// for the run.
//
// The dialog is shown by a presenter. The default one runs a modal QColorDialog; tests install
// their own to answer in its place.

#include <QColor>
#include <QString>

#include <array>
#include <functional>
#include <optional>

class QWidget;

class WTLU_ColorDialog
{
public:
    static constexpr int kCustomColorCount = 16;
    using CustomColors = std::array<QColor, kCustomColorCount>;

    struct Request
    {
        QColor initial;
        QWidget* owner = nullptr;
        QString title;
    };

    // The chosen colour, or nothing when the user cancelled. While a presenter runs, the caller's
    // table is in Qt's custom colours (QColorDialog::customColor), where the dialog edits it.
    using Presenter = std::function<std::optional<QColor>(const Request&)>;

    // Shows the dialog starting from initial; the caller's table is shown and kept up to date.
    static std::optional<QColor> Choose(const QColor& initial, CustomColors& customColors,
                                        QWidget* owner, const QString& title = {});

    // A table of white entries, as the platform dialog starts with.
    static CustomColors WhiteTable();

    // Runs the real dialog for a request (what the default presenter does).
    static std::optional<QColor> RunModal(const Request& request);

    // Returns the previous presenter so that a scope can restore it; an empty one restores the
    // default.
    static Presenter SetPresenter(Presenter presenter);
};
