#pragma once
// The one message box through which the viewer tells the user something. The caption is the
// program prefix ("Quor KRN - ") followed by the title; the body is the text, a line break and the
// second text. Styles and results use the Windows message-box numbers, so callers written against
// them (Yes/No with No as default, an icon per kind) read the same here.
//
// Texts may be given directly or as string-table ids; ids are resolved through the lookup the
// application installs (its string table with the chosen language).
//
// The box is shown by a presenter. The default one runs a modal QMessageBox; tests install their
// own to see what would have been shown and to answer it.

#include <QString>

#include <functional>

class QMessageBox;
class QWidget;

enum WTLU_MessageBoxStyle : unsigned
{
    WTLU_MB_OK = 0x0,
    WTLU_MB_OKCANCEL = 0x1,
    WTLU_MB_YESNO = 0x4,
    WTLU_MB_ICONSTOP = 0x10,
    WTLU_MB_ICONQUESTION = 0x20,
    WTLU_MB_ICONEXCLAMATION = 0x30,
    WTLU_MB_ICONINFORMATION = 0x40,
    WTLU_MB_DEFBUTTON2 = 0x100,
    WTLU_MB_BUTTONMASK = 0xF,
    WTLU_MB_ICONMASK = 0xF0,
    WTLU_MB_DEFMASK = 0xF00,
};

enum WTLU_MessageBoxResult : int
{
    WTLU_IDOK = 1,
    WTLU_IDCANCEL = 2,
    WTLU_IDYES = 6,
    WTLU_IDNO = 7,
};

// Everything a presenter needs to show one box.
struct WTLU_MessageBoxRequest
{
    QString caption;
    QString body;
    unsigned style = WTLU_MB_OK;
    QWidget* owner = nullptr;
};

class WTLU_MessageBox
{
public:
    using Presenter = std::function<int(const WTLU_MessageBoxRequest&)>;
    using StringLookup = std::function<QString(unsigned id)>;

    // The general operation: caption and body are composed here, the style is used as given.
    static int Show(const QString& title, const QString& text, const QString& secondText,
                    QWidget* owner, unsigned style);

    // Front ends that add the icon of their kind to the style.
    static int ShowError(const QString& title, const QString& text, const QString& secondText,
                         QWidget* owner = nullptr, unsigned style = WTLU_MB_OK);
    static int ShowWarning(const QString& title, const QString& text, const QString& secondText,
                           QWidget* owner = nullptr, unsigned style = WTLU_MB_OK);
    static int ShowInformation(const QString& title, const QString& text, const QString& secondText,
                               QWidget* owner = nullptr, unsigned style = WTLU_MB_OK);
    // The same with string-table ids; a second id of 0 means no second text.
    static int ShowError(unsigned titleId, unsigned textId, unsigned secondId,
                         QWidget* owner = nullptr, unsigned style = WTLU_MB_OK);
    static int ShowWarning(unsigned titleId, unsigned textId, unsigned secondId,
                           QWidget* owner = nullptr, unsigned style = WTLU_MB_OK);
    static int ShowInformation(unsigned titleId, unsigned textId, unsigned secondId,
                               QWidget* owner = nullptr, unsigned style = WTLU_MB_OK);

    static QString Caption(const QString& title);
    static QString Body(const QString& text, const QString& secondText);

    // Builds the box the default presenter shows: caption, body, icon, buttons, default button.
    static QMessageBox* Build(const WTLU_MessageBoxRequest& request);
    static int RunModal(const WTLU_MessageBoxRequest& request);

    // Each setter returns the previous value so that a scope can restore it.
    static Presenter SetPresenter(Presenter presenter);
    static StringLookup SetStringLookup(StringLookup lookup);
    // The caption prefix string id; the prefix text comes through the string lookup when one is
    // installed, else it is "Quor KRN - ".
    static constexpr unsigned kCaptionPrefixId = 187;

private:
    static QString Lookup(unsigned id);
};
