#include "GETPASU.h"

#include <QPushButton>

#include "Dialogs.h"
#include "Icons.h"

TGetPassWdFrm::TGetPassWdFrm(QWidget *parent) : QDialog(parent, Qt::Tool)
{
    setupUi(this);
    keyPicture->setPixmap(kalpiyonIcon(IconId::Key).pixmap(32, 32));
    OKBtn->setIcon(kalpiyonIcon(IconId::Ok));
    CancelBtn->setIcon(kalpiyonIcon(IconId::Cancel));
    connect(OKBtn, &QPushButton::clicked, this, &TGetPassWdFrm::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

bool TGetPassWdFrm::Execute(const QString &password)
{
    FPassWd = password;
    Edit1->clear();
    Edit1->setFocus();
    return ui::execDialog(*this) == QDialog::Accepted;
}

void TGetPassWdFrm::OKBtnClick()
{
    if (Edit1->text() == FPassWd) {
        accept();
        return;
    }
    ui::messageDlg(QStringLiteral("Geçersiz şifre."), ui::Kind::Error, ui::Ok, this);
    Edit1->setFocus();
}
