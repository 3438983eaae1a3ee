#pragma once
// "Şifre Gir": asks for the password until it matches or the user cancels.

#include <QDialog>
#include <QLineEdit>

class TGetPassWdFrm : public QDialog {
    Q_OBJECT
public:
    explicit TGetPassWdFrm(QWidget *parent = nullptr);
    bool Execute(const QString &password);
    QLineEdit *Edit1;

private:
    void OKBtnClick();
    QString FPassWd;
};
