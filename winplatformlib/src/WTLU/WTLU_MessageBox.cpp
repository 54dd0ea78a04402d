#include "WTLU/WTLU_MessageBox.h"

#include <QMessageBox>
#include <QPushButton>

namespace
{
WTLU_MessageBox::Presenter& CurrentPresenter()
{
    static WTLU_MessageBox::Presenter presenter;
    return presenter;
}

WTLU_MessageBox::StringLookup& CurrentLookup()
{
    static WTLU_MessageBox::StringLookup lookup;
    return lookup;
}

unsigned WithIcon(unsigned style, unsigned icon)
{
    return (style & ~unsigned(WTLU_MB_ICONMASK)) | icon;
}
} // namespace

QString WTLU_MessageBox::Lookup(unsigned id)
{
    if (id == 0)
        return {};
    if (CurrentLookup())
        return CurrentLookup()(id);
    if (id == kCaptionPrefixId)
        return QStringLiteral("Quor KRN - ");
    return {};
}

QString WTLU_MessageBox::Caption(const QString& title)
{
    return Lookup(kCaptionPrefixId) + title;
}

QString WTLU_MessageBox::Body(const QString& text, const QString& secondText)
{
    // An absent second text leaves no dangling empty line under the text.
    if (secondText.isEmpty())
        return text;
    return text + QLatin1Char('\n') + secondText;
}

int WTLU_MessageBox::Show(const QString& title, const QString& text, const QString& secondText,
                          QWidget* owner, unsigned style)
{
    WTLU_MessageBoxRequest request;
    request.caption = Caption(title);
    request.body = Body(text, secondText);
    request.style = style;
    request.owner = owner;
    if (CurrentPresenter())
        return CurrentPresenter()(request);
    return RunModal(request);
}

int WTLU_MessageBox::ShowError(const QString& title, const QString& text, const QString& secondText,
                               QWidget* owner, unsigned style)
{
    return Show(title, text, secondText, owner, WithIcon(style, WTLU_MB_ICONSTOP));
}

int WTLU_MessageBox::ShowWarning(const QString& title, const QString& text,
                                 const QString& secondText, QWidget* owner, unsigned style)
{
    return Show(title, text, secondText, owner, WithIcon(style, WTLU_MB_ICONEXCLAMATION));
}

int WTLU_MessageBox::ShowInformation(const QString& title, const QString& text,
                                     const QString& secondText, QWidget* owner, unsigned style)
{
    return Show(title, text, secondText, owner, WithIcon(style, WTLU_MB_ICONINFORMATION));
}

int WTLU_MessageBox::ShowError(unsigned titleId, unsigned textId, unsigned secondId, QWidget* owner,
                               unsigned style)
{
    return ShowError(Lookup(titleId), Lookup(textId), Lookup(secondId), owner, style);
}

int WTLU_MessageBox::ShowWarning(unsigned titleId, unsigned textId, unsigned secondId,
                                 QWidget* owner, unsigned style)
{
    return ShowWarning(Lookup(titleId), Lookup(textId), Lookup(secondId), owner, style);
}

int WTLU_MessageBox::ShowInformation(unsigned titleId, unsigned textId, unsigned secondId,
                                     QWidget* owner, unsigned style)
{
    return ShowInformation(Lookup(titleId), Lookup(textId), Lookup(secondId), owner, style);
}

QMessageBox* WTLU_MessageBox::Build(const WTLU_MessageBoxRequest& request)
{
    auto* box = new QMessageBox(request.owner);
    box->setWindowTitle(request.caption);
    box->setText(request.body);
    box->setTextFormat(Qt::PlainText);
    switch (request.style & WTLU_MB_ICONMASK)
    {
    case WTLU_MB_ICONSTOP:
        box->setIcon(QMessageBox::Critical);
        break;
    case WTLU_MB_ICONQUESTION:
        box->setIcon(QMessageBox::Question);
        break;
    case WTLU_MB_ICONEXCLAMATION:
        box->setIcon(QMessageBox::Warning);
        break;
    case WTLU_MB_ICONINFORMATION:
        box->setIcon(QMessageBox::Information);
        break;
    default:
        box->setIcon(QMessageBox::NoIcon);
        break;
    }
    const bool secondDefault = (request.style & WTLU_MB_DEFMASK) == WTLU_MB_DEFBUTTON2;
    switch (request.style & WTLU_MB_BUTTONMASK)
    {
    case WTLU_MB_YESNO:
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(secondDefault ? QMessageBox::No : QMessageBox::Yes);
        // Closing the box without an answer is the safe answer.
        box->setEscapeButton(QMessageBox::No);
        break;
    case WTLU_MB_OKCANCEL:
        box->setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box->setDefaultButton(secondDefault ? QMessageBox::Cancel : QMessageBox::Ok);
        box->setEscapeButton(QMessageBox::Cancel);
        break;
    default:
        box->setStandardButtons(QMessageBox::Ok);
        box->setDefaultButton(QMessageBox::Ok);
        box->setEscapeButton(QMessageBox::Ok);
        break;
    }
    return box;
}

int WTLU_MessageBox::RunModal(const WTLU_MessageBoxRequest& request)
{
    QMessageBox* box = Build(request);
    const int answer = box->exec();
    delete box;
    switch (answer)
    {
    case QMessageBox::Yes:
        return WTLU_IDYES;
    case QMessageBox::No:
        return WTLU_IDNO;
    case QMessageBox::Cancel:
        return WTLU_IDCANCEL;
    default:
        return WTLU_IDOK;
    }
}

WTLU_MessageBox::Presenter WTLU_MessageBox::SetPresenter(Presenter presenter)
{
    Presenter previous = std::move(CurrentPresenter());
    CurrentPresenter() = std::move(presenter);
    return previous;
}

WTLU_MessageBox::StringLookup WTLU_MessageBox::SetStringLookup(StringLookup lookup)
{
    StringLookup previous = std::move(CurrentLookup());
    CurrentLookup() = std::move(lookup);
    return previous;
}
