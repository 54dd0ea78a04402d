#include "WKRN/app/WKRN_AboutDialog.h"

#include "WKRN/app/WKRN_Icons.h"
#include "WKRN/app/WKRN_Ids.h"
#include "WKRN/app/WKRN_StringTable.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

WKRN_AboutDialog::WKRN_AboutDialog(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("WKRN_AboutDialog"));
    setWindowTitle(WKRN_StringTable::Load(IDS_ABOUT_TITLE));
    setWindowIcon(WKRN_Icons::Program());

    auto* icon = new QLabel(this);
    icon->setPixmap(WKRN_Icons::Program().pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* product = new QLabel(WKRN_StringTable::Load(IDS_PRODUCT_NAME), this);
    product->setObjectName(QStringLiteral("WKRN_AboutProduct"));
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(20);
    font.setBold(true);
    product->setFont(font);

    auto* version = new QLabel(WKRN_StringTable::Load(IDS_VERSION), this);
    version->setObjectName(QStringLiteral("WKRN_AboutVersion"));
    auto* rights = new QLabel(WKRN_StringTable::Load(IDS_COPYRIGHT), this);
    rights->setObjectName(QStringLiteral("WKRN_AboutRights"));
    rights->setWordWrap(true);

    m_notices = new QPlainTextEdit(this);
    m_notices->setObjectName(QStringLiteral("WKRN_AboutNotices"));
    m_notices->setReadOnly(true);
    m_notices->setPlainText(Notices());
    m_notices->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* heading = new QVBoxLayout;
    heading->addWidget(product);
    heading->addWidget(version);
    heading->addWidget(rights);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addLayout(heading, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_notices, 1);
    layout->addWidget(buttons);
    // 192 x 179 dialog units at the usual dialog font come to about this size.
    resize(390, 330);
}

QString WKRN_AboutDialog::Notices()
{
    const unsigned ids[] = {IDS_PATENT_NOTICE,   IDS_TIFF_CREDITS,      IDS_PANTONE_NOTICE,
                            IDS_MAKER_TRADEMARK, IDS_PANTONE_TRADEMARK, IDS_OTHER_TRADEMARKS};
    QStringList parts;
    for (unsigned id : ids)
        parts.append(WKRN_StringTable::Load(id));
    return parts.join(QStringLiteral("\n\n"));
}

void WKRN_AboutDialog::Run(QWidget* owner)
{
    if (owner == nullptr)
        owner = QApplication::activeWindow();
    WKRN_AboutDialog dialog(owner);
    if (owner != nullptr)
    {
        QRect frame = dialog.frameGeometry();
        frame.moveCenter(owner->frameGeometry().center());
        dialog.move(frame.topLeft());
    }
    dialog.exec();
}
