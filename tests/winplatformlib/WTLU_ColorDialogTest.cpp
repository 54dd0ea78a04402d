#include "WTLU/WTLU_ColorDialog.h"

#include <QApplication>
#include <QColorDialog>
#include <QTimer>

#include <gtest/gtest.h>

namespace
{
// Restores the default presenter when the test ends, whatever happens.
struct PresenterScope
{
    explicit PresenterScope(WTLU_ColorDialog::Presenter presenter)
        : previous(WTLU_ColorDialog::SetPresenter(std::move(presenter)))
    {
    }
    ~PresenterScope() { WTLU_ColorDialog::SetPresenter(previous); }
    WTLU_ColorDialog::Presenter previous;
};

WTLU_ColorDialog::CustomColors Table(QRgb first)
{
    WTLU_ColorDialog::CustomColors table;
    for (int i = 0; i < WTLU_ColorDialog::kCustomColorCount; ++i)
        table[std::size_t(i)] = QColor::fromRgb(first + QRgb(i));
    return table;
}
} // namespace

// Two callers each keep their own 16 custom colours: the dialog shows the caller's table, what
// the user changes in it goes back to that caller only, and Qt's own table is as before.
TEST(WTLU_ColorDialog, EachCallerKeepsItsOwnCustomColors)
{
    for (int i = 0; i < WTLU_ColorDialog::kCustomColorCount; ++i)
        QColorDialog::setCustomColor(i, QColor(Qt::black));
    WTLU_ColorDialog::CustomColors palette = Table(0x102000);
    WTLU_ColorDialog::CustomColors editor = Table(0x304000);
    const WTLU_ColorDialog::CustomColors editorBefore = editor;

    std::vector<QColor> seenFirst;
    QColor seenInitial;
    PresenterScope scope(
        [&](const WTLU_ColorDialog::Request& request) -> std::optional<QColor>
        {
            seenInitial = request.initial;
            seenFirst.push_back(QColorDialog::customColor(0));
            QColorDialog::setCustomColor(5, QColor(Qt::red));
            return QColor(Qt::green);
        });
    const std::optional<QColor> chosen =
        WTLU_ColorDialog::Choose(QColor(Qt::blue), palette, nullptr);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, QColor(Qt::green));
    EXPECT_EQ(seenInitial, QColor(Qt::blue));
    EXPECT_EQ(palette[5], QColor(Qt::red));
    EXPECT_EQ(palette[4], QColor::fromRgb(0x102004));
    for (int i = 0; i < WTLU_ColorDialog::kCustomColorCount; ++i)
        EXPECT_EQ(QColorDialog::customColor(i), QColor(Qt::black)) << i;

    // The other caller sees its own table, untouched by the first one's edit until it edits.
    WTLU_ColorDialog::Choose(QColor(Qt::white), editor, nullptr);
    ASSERT_EQ(seenFirst.size(), 2u);
    EXPECT_EQ(seenFirst[0], QColor::fromRgb(0x102000));
    EXPECT_EQ(seenFirst[1], QColor::fromRgb(0x304000));
    EXPECT_EQ(editor[4], editorBefore[4]);
    EXPECT_EQ(editor[5], QColor(Qt::red));
}

// The real dialog: cancelling answers nothing, accepting answers the colour it shows, and the
// caller's table is in place while it is open.
TEST(WTLU_ColorDialog, RealDialog_CancelAndAccept)
{
    WTLU_ColorDialog::CustomColors table = Table(0x506000);
    QColor shownCustom;
    QTimer::singleShot(0,
                       [&]
                       {
                           auto* dialog =
                               qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
                           ASSERT_NE(dialog, nullptr);
                           shownCustom = QColorDialog::customColor(2);
                           dialog->reject();
                       });
    EXPECT_FALSE(WTLU_ColorDialog::Choose(QColor(Qt::yellow), table, nullptr).has_value());
    EXPECT_EQ(shownCustom, QColor::fromRgb(0x506002));

    QTimer::singleShot(0,
                       [&]
                       {
                           auto* dialog =
                               qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
                           ASSERT_NE(dialog, nullptr);
                           dialog->setCurrentColor(QColor(12, 34, 56));
                           dialog->accept();
                       });
    const std::optional<QColor> chosen =
        WTLU_ColorDialog::Choose(QColor(Qt::yellow), table, nullptr, QStringLiteral("Pick"));
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->rgb(), QColor(12, 34, 56).rgb());
}
