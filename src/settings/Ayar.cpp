#include "Ayar.h"

#include <QDir>
#include <QKeyEvent>
#include <QStandardPaths>

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
    setupUi(this);
    OKBtn->setIcon(kalpiyonIcon(IconId::Ok));
    BitBtn2->setIcon(kalpiyonIcon(IconId::Ok));

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
    if (::AyarFrm == this)
        ::AyarFrm = nullptr;
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
