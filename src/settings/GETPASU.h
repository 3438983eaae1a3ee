#pragma once
// "Şifre Gir": asks for the password until it matches or the user cancels.

#include <QDialog>
#include <QLineEdit>

#include "ui_GETPASU.h"

class TGetPassWdFrm : public QDialog, public Ui::GetPassWdFrm {
    Q_OBJECT
public:
    explicit TGetPassWdFrm(QWidget *parent = nullptr);
    bool Execute(const QString &password);

private:
    void OKBtnClick();
    QString FPassWd;
};
