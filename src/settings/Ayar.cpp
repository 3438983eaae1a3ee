#include "Ayar.h"

#include <QDir>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "Dialogs.h"
#include "Error.h"
#include "GETPASU.h"
#include "Icons.h"
#include "Passwdu.h"
#include "Locations.h"
#include "Settings.h"

TAyarFrm *AyarFrm = nullptr;

TAyarFrm::TAyarFrm(QWidget *parent) : QDialog(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("AyarFrm"));
    setWindowTitle(QStringLiteral("Genel Ayarlar"));
    resize(401, 233);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->addWidget(PageControl1);

    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    PageControl1->addTab(TabSheet1, QStringLiteral("Şifre Aktivasyon"));
    auto *bevel2 = new QFrame(TabSheet1);
    bevel2->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bevel2->setGeometry(8, 8, 377, 65);
    auto *label1 = new QLabel(QStringLiteral("Programa şifre koyarak başkalarının bilgilere ulaşmasını önleyebilirsiniz. "), bevel2);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setWordWrap(true);
    label1->setGeometry(12, 8, 353, 49);
    auto *bevel3 = new QFrame(TabSheet1);
    bevel3->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bevel3->setGeometry(8, 80, 377, 49);
    SifreChk = new QCheckBox(QStringLiteral("Şifre Korumasını Aktifleştir"), bevel3);
    SifreChk->setObjectName(QStringLiteral("SifreChk"));
    SifreChk->setGeometry(12, 14, 220, 21);
    ChangePasswdBtn = new QPushButton(QStringLiteral("Şifre Değiştir"), bevel3);
    ChangePasswdBtn->setObjectName(QStringLiteral("ChangePasswdBtn"));
    ChangePasswdBtn->setGeometry(248, 12, 113, 25);
    CancelBtn = new QPushButton(QStringLiteral("İptal"), TabSheet1);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(220, 140, 75, 25);
    OKBtn = new QPushButton(kalpiyonIcon(IconId::Ok), QStringLiteral("Tamam"), TabSheet1);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(304, 140, 81, 25);

    TabSheet3 = new QWidget;
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    PageControl1->addTab(TabSheet3, QStringLiteral("Diğer Ayarlar"));
    auto *panel2 = new QFrame(TabSheet3);
    panel2->setObjectName(QStringLiteral("Panel2"));
    panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel2->setGeometry(8, 8, 377, 121);
    ChkYazdir = new QCheckBox(QStringLiteral("Yazıcı Önizleme Ekranını Göster"), panel2);
    ChkYazdir->setObjectName(QStringLiteral("ChkYazdir"));
    ChkYazdir->setGeometry(16, 24, 340, 21);
    ChkYazdir->setChecked(true);
    ChkAlan = new QCheckBox(QStringLiteral("Yeni Kayıt Açıldığında Alanları Otomatik Doldur"), panel2);
    ChkAlan->setObjectName(QStringLiteral("ChkAlan"));
    ChkAlan->setGeometry(16, 56, 340, 21);
    ChkAlan->setChecked(true);
    BitBtn2 = new QPushButton(kalpiyonIcon(IconId::Ok), QStringLiteral("Tamam"), TabSheet3);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(304, 140, 81, 25);

    // Only the user's own clicks ask for the password; the window's own changes use
    // setTickSilently, which sets the tick without a click.
    connect(SifreChk, &QCheckBox::clicked, this, &TAyarFrm::SifreChkClick);
    connect(ChangePasswdBtn, &QPushButton::clicked, this, &TAyarFrm::ChangePasswdBtnClick);
    connect(OKBtn, &QPushButton::clicked, this, &TAyarFrm::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TAyarFrm::CancelBtnClick);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::accept);
    // The default button and Esc follow the tab in front.
    auto followTab = [this](int tab) {
        OKBtn->setDefault(tab == 0);
        BitBtn2->setDefault(tab == 1);
    };
    connect(PageControl1, &QTabWidget::currentChanged, this, followTab);
    followTab(0);

    LoadPassWdState();
}

TAyarFrm::~TAyarFrm()
{
    if (AyarFrm == this)
        AyarFrm = nullptr;
}

void TAyarFrm::programEnding()
{
    if (ending_)
        return;
    ending_ = true;
    SavePassWdState();
}

// --- Password store -----------------------------------------------------------------

QString TAyarFrm::winIniPath()
{
    return settings::winIniPath();
}

bool TAyarFrm::ReadPassWdActive() const
{
    return settings::readFlag(settings::Key::PasswordActive);
}

void TAyarFrm::WritePassWdActive(bool value) const
{
    try {
        settings::writeFlag(settings::Key::PasswordActive, value);
    } catch (const Error &) {
        throw Error(QStringLiteral("Unable to write to %1").arg(settings::fileName(settings::File::WinIni)));
    }
}

QString TAyarFrm::ReadPassWd() const
{
    return settings::readText(settings::Key::Password);
}

void TAyarFrm::WritePassWd(const QString &value) const
{
    try {
        settings::writeText(settings::Key::Password, value);
    } catch (const Error &) {
        throw Error(QStringLiteral("Şifre yazılamadı"));
    }
}

bool TAyarFrm::CheckPassWd(bool onlyIfActive)
{
    if (onlyIfActive && !ReadPassWdActive())
        return true;
    TGetPassWdFrm dialog(isVisible() ? this : parentWidget());
    return dialog.Execute(ReadPassWd());
}

// --- The window ---------------------------------------------------------------------

void TAyarFrm::setTickSilently(bool ticked)
{
    const QSignalBlocker block(SifreChk);
    SifreChk->setChecked(ticked);
}

void TAyarFrm::LoadPassWdState()
{
    setTickSilently(ReadPassWdActive());
    SifreChk->setEnabled(!ReadPassWd().isEmpty());
}

void TAyarFrm::SavePassWdState()
{
    WritePassWdActive(SifreChk->isChecked());
}

void TAyarFrm::showEvent(QShowEvent *event)
{
    SifreChk->setText(SifreChk->isChecked() ? QStringLiteral("Şifre Korumasını Kaldır")
                                            : QStringLiteral("Şifre Korumasını Aktifleştir"));
    QDialog::showEvent(event);
}

void TAyarFrm::keyPressEvent(QKeyEvent *event)
{
    // Esc is the "İptal" button, which acts only while its tab is in front.
    if (event->key() == Qt::Key_Escape) {
        if (PageControl1->currentIndex() == 0)
            CancelBtnClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TAyarFrm::SifreChkClick()
{
    const bool wanted = SifreChk->isChecked();
    if (!CheckPassWd(false))
        setTickSilently(!wanted);
}

void TAyarFrm::ChangePasswdBtnClick()
{
    const QString stored = ReadPassWd();
    if (!PassWdFrm->Execute(stored))
        return;
    if (ui::messageDlg(QStringLiteral("Şu anki şifreyi değiştirmek istiyor musunuz?"), ui::Kind::Confirmation,
                       ui::Yes | ui::No, this) != ui::Yes)
        return;
    WritePassWd(PassWdFrm->GetNewPassWd());
    SifreChk->setEnabled(true);
    setTickSilently(true);
}

void TAyarFrm::OKBtnClick()
{
    try {
        SavePassWdState();
    } catch (...) {
        accept();  // the window closes all the same
        throw;
    }
    accept();
}

void TAyarFrm::CancelBtnClick()
{
    LoadPassWdState();
    reject();
}
