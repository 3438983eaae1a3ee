#include "Passwdu.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "Dialogs.h"
#include "Icons.h"

TPassWdFrm *PassWdFrm = nullptr;

TPassWdFrm::TPassWdFrm(QWidget *parent) : QDialog(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("PassWdFrm"));
    setWindowTitle(QStringLiteral("Şifre Değiştir"));
    setFixedSize(276, 153);
    auto *frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setGeometry(8, 8, 260, 97);
    QLineEdit **boxes[2] = {&EdtEskiSifre, &EdtYeniSifre};
    const char *labels[2] = {"Eski Şifre:", "Yeni Şifre:"};
    const char *names[2] = {"EdtEskiSifre", "EdtYeniSifre"};
    for (int i = 0; i < 2; ++i) {
        auto *box = new QLineEdit(frame);
        box->setObjectName(QLatin1String(names[i]));
        box->setEchoMode(QLineEdit::Password);
        box->setMaxLength(15);
        box->setGeometry(96, 20 + 36 * i, 145, 21);
        auto *label = new QLabel(QString::fromUtf8(labels[i]), frame);
        label->setGeometry(16, 23 + 36 * i, 76, 16);
        label->setBuddy(box);
        *boxes[i] = box;
    }
    auto *ok = new QPushButton(kalpiyonIcon(IconId::Ok), QStringLiteral("Tamam"), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setGeometry(108, 118, 75, 25);
    ok->setDefault(true);
    auto *cancel = new QPushButton(kalpiyonIcon(IconId::Cancel), QStringLiteral("İptal"), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    cancel->setGeometry(192, 118, 75, 25);
    connect(ok, &QPushButton::clicked, this, &TPassWdFrm::OKBtnClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
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
