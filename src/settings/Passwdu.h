#pragma once
// "Şifre Değiştir": asks for the old and the new password; writes nothing itself.

#include <QDialog>
#include <QLineEdit>

class TPassWdFrm : public QDialog {
    Q_OBJECT
public:
    explicit TPassWdFrm(QWidget *parent = nullptr);
    bool Execute(const QString &oldPassword);
    QString GetNewPassWd() const { return EdtYeniSifre->text(); }

    QLineEdit *EdtEskiSifre, *EdtYeniSifre;

private:
    void OKBtnClick();
    QString FOldPassWd;
};

extern TPassWdFrm *PassWdFrm;
