#pragma once
// "Şifre Değiştir": asks for the old and the new password; writes nothing itself.

#include <QDialog>
#include <QLineEdit>

#include "ui_Passwdu.h"

class TPassWdFrm : public QDialog, public Ui::PassWdFrm {
    Q_OBJECT
public:
    explicit TPassWdFrm(QWidget *parent = nullptr);
    bool Execute(const QString &oldPassword);
    QString GetNewPassWd() const { return EdtYeniSifre->text(); }


private:
    void OKBtnClick();
    QString FOldPassWd;
};

extern TPassWdFrm *PassWdFrm;
