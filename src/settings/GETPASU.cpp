#include "GETPASU.h"

#include <QPushButton>

#include "Dialogs.h"
#include "Icons.h"
#include "ui_GETPASU.h"

TGetPassWdFrm::TGetPassWdFrm(QWidget *parent) : QDialog(parent, Qt::Tool)
{
    Ui::GetPassWdFrm form;
    form.setupUi(this);
    Edit1 = form.Edit1;
    form.keyPicture->setPixmap(kalpiyonIcon(IconId::Key).pixmap(32, 32));
    form.OKBtn->setIcon(kalpiyonIcon(IconId::Ok));
    form.CancelBtn->setIcon(kalpiyonIcon(IconId::Cancel));
    connect(form.OKBtn, &QPushButton::clicked, this, &TGetPassWdFrm::OKBtnClick);
    connect(form.CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
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
