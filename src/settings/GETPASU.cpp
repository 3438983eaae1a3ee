#include "GETPASU.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "Dialogs.h"
#include "Icons.h"

TGetPassWdFrm::TGetPassWdFrm(QWidget *parent) : QDialog(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("GetPassWdFrm"));
    setWindowTitle(QStringLiteral("Şifre Gir"));
    setFixedSize(267, 138);
    auto *frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setGeometry(8, 8, 251, 85);
    auto *key = new QLabel(frame);
    key->setObjectName(QStringLiteral("keyPicture"));
    key->setPixmap(kalpiyonIcon(IconId::Key).pixmap(32, 32));
    key->setGeometry(12, 16, 32, 32);
    auto *label = new QLabel(QStringLiteral("Şifrenizi girin"), frame);
    label->setGeometry(60, 14, 180, 16);
    Edit1 = new QLineEdit(frame);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setEchoMode(QLineEdit::Password);
    Edit1->setGeometry(60, 36, 177, 21);
    label->setBuddy(Edit1);
    auto *ok = new QPushButton(kalpiyonIcon(IconId::Ok), QStringLiteral("Tamam"), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setGeometry(96, 104, 75, 25);
    ok->setDefault(true);
    auto *cancel = new QPushButton(kalpiyonIcon(IconId::Cancel), QStringLiteral("İptal"), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    cancel->setGeometry(180, 104, 75, 25);
    connect(ok, &QPushButton::clicked, this, &TGetPassWdFrm::OKBtnClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
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
