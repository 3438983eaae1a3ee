// Fixed information, preferences, the password store, both password dialogs, the start-up
// gate and the About window, with real win.ini and Ayarlar files.
#include <QAbstractButton>
#include <QtTest>

#include "AppFixture.h"
#include "Ayar.h"
#include "GETPASU.h"
#include "Hakkinda.h"
#include "Passwdu.h"
#include "ProfileFile.h"
#include "Unit2.h"

using fixture::Program;
using fixture::type;

namespace {
using fixture::readFile;
using fixture::writeFile;
QString winIni()
{
    return TAyarFrm::winIniPath();
}

// A dialog handler that types into a named box and presses a named button.
std::function<void(QDialog &)> enter(const QString &box, const QString &text, const QString &button)
{
    return [=](QDialog &d) {
        auto *edit = d.findChild<QLineEdit *>(box);
        edit->setFocus();
        type(edit, text);
        d.findChild<QAbstractButton *>(button)->click();
    };
}
}  // namespace

class TestSettingsWindows : public QObject {
    Q_OBJECT
private slots:
    void firstRunDefaults();
    void loadSettings_data();
    void loadSettings();
    void saveSettingsWritesAllNine();
    void gate_data();
    void gate();
    void refusedGateEndsWithoutTouchingAyarlar();
    void changePasswordWithoutStoredPassword();
    void cancelKeepsChangedPassword();
    void changeDialogDecisions();
    void sifreChkAsksForThePassword();
    void fixedInfoCaption();
    void aboutWindow();
};

void TestSettingsWindows::firstRunDefaults()
{
    Program p({QStringLiteral("ARI")});
    p.show();
    QCOMPARE(Form2->Edit1->text(), QStringLiteral("Kalpiyon Raporu"));
    QCOMPARE(Form2->Edit7->text(), QStringLiteral("DR. UNVANI"));
    QCOMPARE(Form1->windowTitle(), QStringLiteral("Kalpiyon Raporu"));
    QVERIFY(AyarFrm->ChkYazdir->isChecked() && AyarFrm->ChkAlan->isChecked());
    QVERIFY(!AyarFrm->SifreChk->isChecked());
    QVERIFY(!AyarFrm->SifreChk->isEnabled());
    AyarFrm->show();
    QCOMPARE(AyarFrm->SifreChk->text(), QStringLiteral("Şifre Korumasını Aktifleştir"));
    AyarFrm->hide();
    // The end of the program writes "Active", so the section exists from then on.
    AyarFrm->programEnding();
    QCOMPARE(settings::ProfileFile(winIni()).readText(QStringLiteral("Kalpiyon"), QStringLiteral("Active"), QStringLiteral("x")),
             QStringLiteral("0"));
}

void TestSettingsWindows::loadSettings_data()
{
    QTest::addColumn<QByteArray>("ayarlar");
    QTest::addColumn<QString>("edit1");
    QTest::addColumn<QString>("edit2");
    QTest::addColumn<bool>("print");
    QTest::addColumn<bool>("alan");
    QTest::newRow("only Tercih") << QByteArray("[Tercih]\r\nPrint=0\r\nAlan=0\r\n") << "Kalpiyon Raporu"
                                 << "İŞ YERİ ADRESİ GİRİN - Sabit Bilgiler" << false << false;
    QTest::newRow("01 empty empties the caption") << QByteArray("[Sabit]\r\n01=\r\n") << "" << "İŞ YERİ ADRESİ GİRİN - Sabit Bilgiler"
                                                   << true << true;
    QTest::newRow("word keeps the tick") << QByteArray("[Tercih]\r\nPrint=hayır\r\nAlan=2\r\n") << "Kalpiyon Raporu"
                                         << "İŞ YERİ ADRESİ GİRİN - Sabit Bilgiler" << true << true;
    QTest::newRow("blanks and Turkish") << QByteArray("[sabit]\r\n02=  \xC7\x41\xD0LAR KL\xDDN\xDD\xD0\xDD  \r\n") << "Kalpiyon Raporu"
                                        << "ÇAĞLAR KLİNİĞİ" << true << true;
    QTest::newRow("3000 characters cut to 2047") << QByteArray("[Sabit]\r\n01=") + QByteArray(3000, 'k') + "\r\n"
                                                 << QString(2047, QLatin1Char('k')) << "İŞ YERİ ADRESİ GİRİN - Sabit Bilgiler" << true << true;
}

void TestSettingsWindows::loadSettings()
{
    QFETCH(QByteArray, ayarlar);
    Program p({QStringLiteral("ARI")});
    writeFile(p.file(QStringLiteral("Ayarlar")), ayarlar);
    p.show();
    QTEST(Form2->Edit1->text(), "edit1");
    QTEST(Form2->Edit2->text(), "edit2");
    QTEST(AyarFrm->ChkYazdir->isChecked(), "print");
    QTEST(AyarFrm->ChkAlan->isChecked(), "alan");
    QCOMPARE(Form1->windowTitle(), Form2->Edit1->text());
}

void TestSettingsWindows::saveSettingsWritesAllNine()
{
    Program p({QStringLiteral("ARI")});
    p.show();
    Form2->Edit3->setText(QStringLiteral(" Şişli "));
    AyarFrm->ChkYazdir->setChecked(false);
    Form1->SaveSettings();
    const QByteArray expected = "[Sabit]\r\n01=Kalpiyon Raporu\r\n02=\xDD\xDE YER\xDD \x41\x44RES\xDD G\xDDR\xDDN - Sabit Bilgiler\r\n"
                                "03= \xDE\x69\xFEli \r\n04=KALP\xDDYON RAPORU\r\n05=KAYIT L\xDDSTES\xDD\r\n"
                                "06=UZM.DR. DR ADI\r\n07=DR. UNVANI\r\n[Tercih]\r\nPrint=0\r\nAlan=1\r\n";
    QCOMPARE(readFile(p.file(QStringLiteral("Ayarlar"))), expected);
}

void TestSettingsWindows::gate_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QStringList>("entries");   // typed one after the other, each confirmed
    QTest::addColumn<bool>("dialog");
    QTest::addColumn<bool>("passes");
    QTest::addColumn<int>("refusals");          // "Geçersiz şifre." boxes

    QTest::newRow("no section") << QByteArray() << QStringList() << false << true << 0;
    QTest::newRow("off") << QByteArray("[Kalpiyon]\r\nActive=0\r\nKalpiyonSifre=gizli\r\n") << QStringList() << false << true << 0;
    QTest::newRow("word is off") << QByteArray("[Kalpiyon]\r\nActive=evet\r\nKalpiyonSifre=gizli\r\n") << QStringList() << false << true << 0;
    QTest::newRow("right password") << QByteArray("[Kalpiyon]\r\nActive=1\r\nKalpiyonSifre=gizli\r\n") << QStringList{"gizli"} << true << true << 0;
    QTest::newRow("2 is on") << QByteArray("[KALPIYON]\r\nactive=2\r\nKalpiyonSifre=gizli\r\n") << QStringList{"x", "gizli"} << true << true << 1;
    QTest::newRow("0x1 is on") << QByteArray("[Kalpiyon]\r\nActive=0x1\r\nKalpiyonSifre=gizli\r\n") << QStringList{"gizli"} << true << true << 0;
    QTest::newRow("letter case counts, then cancel") << QByteArray("[Kalpiyon]\r\nActive=1\r\nKalpiyonSifre=gizli\r\n")
                                                     << QStringList{"GIZLI", "Gizli"} << true << false << 2;
    QTest::newRow("empty password: empty entry") << QByteArray("[Kalpiyon]\r\nActive=1\r\n") << QStringList{"a", ""} << true << true << 1;
    QTest::newRow("stored with blanks reads without") << QByteArray("[Kalpiyon]\r\nActive=1\r\nKalpiyonSifre= ab \r\n")
                                                      << QStringList{"ab"} << true << true << 0;
}

void TestSettingsWindows::gate()
{
    QFETCH(QByteArray, ini);
    QFETCH(QStringList, entries);
    QFETCH(bool, dialog);
    QFETCH(bool, passes);
    QFETCH(int, refusals);
    QStringList typed;
    Program p({QStringLiteral("ARI")}, true, [&](const QString &) {
        if (!ini.isEmpty())
            writeFile(winIni(), ini);
        for (int i = 0; i < refusals; ++i)
            ui::TestSeam::queueAnswer(ui::Ok);
        if (dialog)
            ui::TestSeam::queueDialogHandler([&](QDialog &d) {
                QCOMPARE(d.windowTitle(), QStringLiteral("Şifre Gir"));
                auto *edit = d.findChild<QLineEdit *>(QStringLiteral("Edit1"));
                QCOMPARE(edit->echoMode(), QLineEdit::Password);
                for (const QString &entry : entries) {
                    edit->clear();
                    type(edit, entry);
                    d.findChild<QAbstractButton *>(QStringLiteral("OKBtn"))->click();
                    if (d.result() == QDialog::Accepted)
                        return;
                }
                d.findChild<QAbstractButton *>(QStringLiteral("CancelBtn"))->click();
            });
    });
    QCOMPARE(p.mayWork, passes);
    QCOMPARE(ui::TestSeam::pendingAnswers(), 0);
    QCOMPARE(fixture::askedTexts().count(QStringLiteral("Geçersiz şifre.")), refusals);
}

void TestSettingsWindows::refusedGateEndsWithoutTouchingAyarlar()
{
    Program p({QStringLiteral("ARI")}, true, [](const QString &folder) {
        writeFile(winIni(), "[Kalpiyon]\r\nActive=1\r\nKalpiyonSifre=gizli\r\n");
        writeFile(QDir(folder).filePath(QStringLiteral("Ayarlar")), "[Sabit]\r\n01=Eski\r\n");
        ui::TestSeam::queueDialogHandler([](QDialog &d) { d.reject(); });
    });
    QVERIFY(!p.mayWork);
    QCOMPARE(readFile(p.file(QStringLiteral("Ayarlar"))), QByteArray("[Sabit]\r\n01=Eski\r\n"));
}

void TestSettingsWindows::changePasswordWithoutStoredPassword()
{
    Program p({QStringLiteral("ARI")});
    ui::TestSeam::queueDialogHandler([](QDialog &d) {
        auto *old = d.findChild<QLineEdit *>(QStringLiteral("EdtEskiSifre"));
        QVERIFY(!old->isEnabled());
        QCOMPARE(QApplication::focusWidget(), d.findChild<QLineEdit *>(QStringLiteral("EdtYeniSifre")));
        d.findChild<QAbstractButton *>(QStringLiteral("OKBtn"))->click();  // an empty new password is taken here
    });
    ui::TestSeam::queueAnswer(ui::Yes);
    AyarFrm->ChangePasswdBtn->click();
    QCOMPARE(fixture::askedTexts().last(), QStringLiteral("Şu anki şifreyi değiştirmek istiyor musunuz?"));
    QVERIFY(AyarFrm->SifreChk->isEnabled() && AyarFrm->SifreChk->isChecked());
    AyarFrm->OKBtn->click();
    QVERIFY(AyarFrm->ReadPassWdActive());
    QCOMPARE(AyarFrm->ReadPassWd(), QString());
}

void TestSettingsWindows::cancelKeepsChangedPassword()
{
    Program p({QStringLiteral("ARI")});
    ui::TestSeam::queueDialogHandler(enter(QStringLiteral("EdtYeniSifre"), QStringLiteral("abc"), QStringLiteral("OKBtn")));
    ui::TestSeam::queueAnswer(ui::Yes);
    AyarFrm->ChangePasswdBtn->click();
    AyarFrm->CancelBtn->click();
    QCOMPARE(AyarFrm->ReadPassWd(), QStringLiteral("abc"));  // written at once, kept
    QVERIFY(!AyarFrm->ReadPassWdActive());
    QVERIFY(!AyarFrm->SifreChk->isChecked());
    QVERIFY(AyarFrm->SifreChk->isEnabled());
    QCOMPARE(QFileInfo(winIni()).permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup), QFileDevice::Permissions());

    // Answering "Hayır" to the question writes nothing.
    ui::TestSeam::queueDialogHandler([](QDialog &d) {
        type(d.findChild<QLineEdit *>(QStringLiteral("EdtEskiSifre")), QStringLiteral("abc"));
        type(d.findChild<QLineEdit *>(QStringLiteral("EdtYeniSifre")), QStringLiteral("xyz"));
        d.findChild<QAbstractButton *>(QStringLiteral("OKBtn"))->click();
    });
    ui::TestSeam::queueAnswer(ui::No);
    AyarFrm->ChangePasswdBtn->click();
    QCOMPARE(AyarFrm->ReadPassWd(), QStringLiteral("abc"));
}

void TestSettingsWindows::changeDialogDecisions()
{
    Program p({QStringLiteral("ARI")});
    ui::TestSeam::queueAnswer(ui::Ok);
    ui::TestSeam::queueAnswer(ui::Ok);
    bool accepted = true;
    ui::TestSeam::queueDialogHandler([&](QDialog &d) {
        auto *old = d.findChild<QLineEdit *>(QStringLiteral("EdtEskiSifre"));
        auto *neu = d.findChild<QLineEdit *>(QStringLiteral("EdtYeniSifre"));
        QCOMPARE(old->maxLength(), 15);
        type(old, QStringLiteral("yanlis"));
        d.findChild<QAbstractButton *>(QStringLiteral("OKBtn"))->click();
        QCOMPARE(QApplication::focusWidget(), old);
        old->clear();
        type(old, QStringLiteral("eski"));
        d.findChild<QAbstractButton *>(QStringLiteral("OKBtn"))->click();  // new one empty
        QCOMPARE(QApplication::focusWidget(), neu);
        type(neu, QStringLiteral("   "));  // blanks pass
        d.findChild<QAbstractButton *>(QStringLiteral("OKBtn"))->click();
        accepted = d.result() == QDialog::Accepted;
    });
    QVERIFY(PassWdFrm->Execute(QStringLiteral("eski")));
    QVERIFY(accepted);
    QCOMPARE(fixture::askedTexts(), (QStringList{QString(), QStringLiteral("Geçersiz şifre."),
                                                 QStringLiteral("Şifre olarak boşluk giremezsiniz")}));
    QCOMPARE(PassWdFrm->GetNewPassWd(), QStringLiteral("   "));
}

void TestSettingsWindows::sifreChkAsksForThePassword()
{
    Program p({QStringLiteral("ARI")});
    writeFile(winIni(), "[Kalpiyon]\r\nActive=0\r\nKalpiyonSifre=gizli\r\n");
    AyarFrm->LoadPassWdState();
    QVERIFY(AyarFrm->SifreChk->isEnabled());
    ui::TestSeam::queueDialogHandler([](QDialog &d) { d.reject(); });
    AyarFrm->SifreChk->click();  // cancelled: the tick flips back
    QVERIFY(!AyarFrm->SifreChk->isChecked());
    ui::TestSeam::queueDialogHandler(enter(QStringLiteral("Edit1"), QStringLiteral("gizli"), QStringLiteral("OKBtn")));
    AyarFrm->SifreChk->click();
    QVERIFY(AyarFrm->SifreChk->isChecked());
    QVERIFY(!AyarFrm->ReadPassWdActive());  // nothing written yet
    AyarFrm->show();
    QCOMPARE(AyarFrm->SifreChk->text(), QStringLiteral("Şifre Korumasını Kaldır"));
    AyarFrm->BitBtn2->click();  // closes without writing
    QVERIFY(!AyarFrm->ReadPassWdActive());
    AyarFrm->programEnding();   // the end of the program writes the tick
    QVERIFY(AyarFrm->ReadPassWdActive());
}

void TestSettingsWindows::fixedInfoCaption()
{
    Program p({QStringLiteral("ARI")});
    p.show();
    ui::TestSeam::queueDialogHandler([](QDialog &d) {
        auto *edit1 = d.findChild<QLineEdit *>(QStringLiteral("Edit1"));
        edit1->clear();
        type(edit1, QStringLiteral("Kardiyoloji"));
        d.findChild<QAbstractButton *>(QStringLiteral("BitBtn1"))->click();
    });
    Form1->SabitBilgiler1Click();
    QCOMPARE(Form1->windowTitle(), QStringLiteral("Kardiyoloji"));
    QVERIFY(!QFile::exists(p.file(QStringLiteral("Ayarlar"))));  // closing it writes nothing
}

void TestSettingsWindows::aboutWindow()
{
    Program p({QStringLiteral("ARI")});
    Form4->show();
    QVERIFY(QTest::qWaitForWindowExposed(Form4));
    QCOMPARE(Form4->Label3->palette().color(QPalette::WindowText), QColor(Qt::blue));
    QTest::mouseMove(Form4->Label3, QPoint(3, 3));
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), Form4->Label3->mapToGlobal(QPointF(3, 3)), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(Form4->Label3, &move);
    QCOMPARE(Form4->Label3->palette().color(QPalette::WindowText), QColor(Qt::red));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(Form4->Label3, &leave);
    QCOMPARE(Form4->Label3->palette().color(QPalette::WindowText), QColor(Qt::blue));
    QCOMPARE(Form4->Label1->text(), QStringLiteral("Kalpiyon 1.0"));
    QTest::mouseClick(Form4->Label6, Qt::LeftButton);
    QVERIFY(!Form4->isVisible());
}

KALPIYON_TEST_MAIN(TestSettingsWindows)
#include "tst_settingswindows.moc"
