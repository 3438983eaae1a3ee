#include "Passwdu.h"

#include <QPushButton>

#include "Dialogs.h"
#include "Icons.h"

TPassWdFrm *PassWdFrm = nullptr;

TPassWdFrm::TPassWdFrm(QWidget *parent) : QDialog(parent, Qt::Tool)
{
    setupUi(this);
    OKBtn->setIcon(kalpiyonIcon(IconId::Ok));
    CancelBtn->setIcon(kalpiyonIcon(IconId::Cancel));
    connect(OKBtn, &QPushButton::clicked, this, &TPassWdFrm::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

bool TPassWdFrm::Execute(const QString &oldPassword)
{
    FOldPassWd = oldPassword;
    EdtEskiSifre->clear();
    EdtYeniSifre->clear();
    EdtEskiSifre->setEnabled(!oldPassword.isEmpty());
    (oldPassword.isEmpty() ? EdtYeniSifre : EdtEskiSifre)->setFocus();
    return ui::execDialog(*this) == QDialog::Accepted;
}

void TPassWdFrm::OKBtnClick()
{
    if (FOldPassWd.isEmpty()) {
        accept();
        return;
    }
    if (EdtEskiSifre->text() != FOldPassWd) {
        ui::messageDlg(QStringLiteral("Geçersiz şifre."), ui::Kind::Error, ui::Ok, this);
        EdtEskiSifre->setFocus();
        return;
    }
    if (EdtYeniSifre->text().isEmpty()) {
        ui::messageDlg(QStringLiteral("Şifre olarak boşluk giremezsiniz"), ui::Kind::Error, ui::Ok, this);
        EdtYeniSifre->setFocus();
        return;
    }
    accept();
}
