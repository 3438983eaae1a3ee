#include "Passwdu.h"

#include <QPushButton>

#include "Dialogs.h"
#include "Icons.h"
#include "ui_Passwdu.h"

TPassWdFrm *PassWdFrm = nullptr;

TPassWdFrm::TPassWdFrm(QWidget *parent) : QDialog(parent, Qt::Tool)
{
    Ui::PassWdFrm form;
    form.setupUi(this);
    EdtEskiSifre = form.EdtEskiSifre;
    EdtYeniSifre = form.EdtYeniSifre;
    form.OKBtn->setIcon(kalpiyonIcon(IconId::Ok));
    form.CancelBtn->setIcon(kalpiyonIcon(IconId::Cancel));
    connect(form.OKBtn, &QPushButton::clicked, this, &TPassWdFrm::OKBtnClick);
    connect(form.CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
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
