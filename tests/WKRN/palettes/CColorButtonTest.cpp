#include "WKRN_TestSupport.h"

#include "WKRN/palettes/CColorButton.h"
#include "WKRN/palettes/CColorPopup.h"

#include "WTLU/WTLU_ColorDialog.h"

#include <QColorDialog>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace
{
class ColorButton : public ::testing::Test
{
protected:
    void SetUp() override
    {
        button = std::make_unique<CColorButton>();
        button->resize(80, 24);
        button->show();
        previous = WTLU_ColorDialog::SetPresenter(
            [this](const WTLU_ColorDialog::Request& request) -> std::optional<QColor>
            {
                dialogStarts.push_back(request.initial);
                shownCustom = QColorDialog::customColor(0);
                QColorDialog::setCustomColor(0, QColor(1, 2, 3));
                return dialogAnswer;
            });
    }
    void TearDown() override
    {
        WTLU_ColorDialog::SetPresenter(previous);
        button.reset();
        WKRN_ProcessEvents();
    }

    CColorPopup* Open()
    {
        QTest::mouseClick(button.get(), Qt::LeftButton);
        return button->Popup();
    }
    // The grid cell whose tooltip is the name; null when none is.
    static QToolButton* CellNamed(CColorPopup* popup, const QString& name)
    {
        for (int i = 0; i < CColorButton::kGridCount; ++i)
            if (popup->Cell(i)->toolTip() == name)
                return popup->Cell(i);
        return nullptr;
    }

    std::unique_ptr<CColorButton> button;
    WTLU_ColorDialog::Presenter previous;
    std::vector<QColor> dialogStarts;
    QColor shownCustom;
    std::optional<QColor> dialogAnswer;
};
} // namespace

TEST_F(ColorButton, Popup_HasTheGridWithNamesAndTheBuiltInItemTexts)
{
    CColorPopup* popup = Open();
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->DefaultItem()->text(), QStringLiteral("Automatic"));
    EXPECT_EQ(popup->CustomItem()->text(), QStringLiteral("More Colors..."));
    EXPECT_EQ(popup->Cell(CColorButton::kGridCount), nullptr);
    // Eight across, five down: each row of cells lies on one line, each column under the first.
    for (int i = 0; i < CColorButton::kGridCount; ++i)
    {
        const QRect cell = popup->Cell(i)->geometry();
        EXPECT_EQ(cell.top(), popup->Cell(i - i % 8)->geometry().top()) << i;
        EXPECT_EQ(cell.left(), popup->Cell(i % 8)->geometry().left()) << i;
        EXPECT_FALSE(popup->Cell(i)->toolTip().isEmpty()) << i;
    }
    EXPECT_LT(popup->Cell(7)->geometry().bottom(), popup->Cell(8)->geometry().top());
    // The trailing blank of this name is part of it.
    EXPECT_EQ(popup->Cell(35)->toolTip(), QStringLiteral("Pale green "));
    // Every name is distinct, so every tooltip tells its cell apart.
    for (int i = 0; i < CColorButton::kGridCount; ++i)
        for (int j = i + 1; j < CColorButton::kGridCount; ++j)
            EXPECT_NE(popup->Cell(i)->toolTip(), popup->Cell(j)->toolTip()) << i << " " << j;
}

TEST_F(ColorButton, ItemTexts_SetByTheOwner)
{
    button->SetDefaultText(QStringLiteral("Default Color"));
    button->SetCustomText(QStringLiteral("Color Picker..."));
    CColorPopup* popup = Open();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->DefaultItem()->text(), QStringLiteral("Default Color"));
    EXPECT_EQ(popup->CustomItem()->text(), QStringLiteral("Color Picker..."));
}

TEST_F(ColorButton, GridCell_ChoosesItsColourAndClosesThePopup)
{
    QSignalSpy changed(button.get(), &CColorButton::ColorChanged);
    button->SetColor(Qt::black);
    CColorPopup* popup = Open();
    ASSERT_NE(popup, nullptr);
    // The current colour's cell is marked.
    EXPECT_EQ(popup->Cell(0)->toolTip(), QStringLiteral("Black"));
    EXPECT_EQ(popup->CurrentCell(), 0);
    QToolButton* turquoise = CellNamed(popup, QStringLiteral("Turquoise"));
    ASSERT_NE(turquoise, nullptr);
    QTest::mouseClick(turquoise, Qt::LeftButton);
    WKRN_ProcessEvents();
    EXPECT_EQ(button->Popup(), nullptr);
    EXPECT_EQ(button->Color(), QColor(0x40, 0xE0, 0xD0));
    EXPECT_FALSE(button->IsDefaultChosen());
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).value<QColor>(), QColor(0x40, 0xE0, 0xD0));
    // Setting a colour from the program is no choice of the user's.
    button->SetColor(Qt::red);
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(ColorButton, DefaultItem_TakesTheDefaultColour_EscapeChoosesNothing)
{
    QSignalSpy changed(button.get(), &CColorButton::ColorChanged);
    button->SetDefaultColor(QColor(255, 0, 0));
    button->SetColor(QColor(0, 0, 255));
    CColorPopup* popup = Open();
    ASSERT_NE(popup, nullptr);
    QTest::keyClick(popup, Qt::Key_Escape);
    WKRN_ProcessEvents();
    EXPECT_EQ(button->Popup(), nullptr);
    EXPECT_EQ(button->Color(), QColor(0, 0, 255));
    EXPECT_EQ(changed.count(), 0);

    popup = Open();
    ASSERT_NE(popup, nullptr);
    QTest::mouseClick(popup->DefaultItem(), Qt::LeftButton);
    WKRN_ProcessEvents();
    EXPECT_EQ(button->Color(), QColor(255, 0, 0));
    EXPECT_TRUE(button->IsDefaultChosen());
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(ColorButton, CustomItem_OpensTheColourDialogWithTheButtonsOwnCustomColours)
{
    QSignalSpy changed(button.get(), &CColorButton::ColorChanged);
    CColorButton::CustomColors()[0] = QColor(200, 100, 50);
    QColorDialog::setCustomColor(0, QColor(9, 9, 9));
    button->SetColor(QColor(10, 20, 30));

    // Cancelled: nothing changes.
    dialogAnswer.reset();
    QTest::mouseClick(Open()->CustomItem(), Qt::LeftButton);
    WKRN_ProcessEvents();
    ASSERT_EQ(dialogStarts.size(), 1u);
    EXPECT_EQ(dialogStarts[0], QColor(10, 20, 30));
    EXPECT_EQ(shownCustom, QColor(200, 100, 50));
    EXPECT_EQ(button->Color(), QColor(10, 20, 30));
    EXPECT_EQ(changed.count(), 0);
    // What the dialog did to the custom colours stays with the colour buttons.
    EXPECT_EQ(CColorButton::CustomColors()[0], QColor(1, 2, 3));
    EXPECT_EQ(QColorDialog::customColor(0), QColor(9, 9, 9));

    dialogAnswer = QColor(70, 80, 90);
    QTest::mouseClick(Open()->CustomItem(), Qt::LeftButton);
    WKRN_ProcessEvents();
    EXPECT_EQ(button->Color(), QColor(70, 80, 90));
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(ColorButton, Keyboard_ArrowsMoveThroughTheItemsAndReturnChooses)
{
    button->SetColor(QColor(0xFF, 0x00, 0x00)); // "Red", first cell of the third row
    CColorPopup* popup = Open();
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(popup->CurrentCell(), 16);
    EXPECT_EQ(popup->KeyboardItem(), 17);
    // Down one row and right one cell: "Gold".
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Right);
    EXPECT_EQ(popup->KeyboardItem(), 26);
    // Up past the first row reaches the default item, down past the last the custom item.
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(popup, Qt::Key_Up);
    EXPECT_EQ(popup->KeyboardItem(), 0);
    for (int i = 0; i < 7; ++i)
        QTest::keyClick(popup, Qt::Key_Down);
    EXPECT_EQ(popup->KeyboardItem(), 41);
    QTest::keyClick(popup, Qt::Key_Up);
    EXPECT_EQ(popup->KeyboardItem(), 33);
    QTest::keyClick(popup, Qt::Key_Return);
    WKRN_ProcessEvents();
    EXPECT_EQ(button->Popup(), nullptr);
    EXPECT_EQ(button->Color(), QColor(0xFF, 0xE4, 0xE1)); // "Rose"
}
