#include "Application.h"

#include <QDir>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "AccessImport.h"
#include "Ayar.h"
#include "Dialogs.h"
#include "Error.h"
#include "FirstStart.h"
#include "Fonts.h"
#include "Hakkinda.h"
#include "OtoYedek.h"
#include "Passwdu.h"
#include "Placement.h"
#include "ReportCommands.h"
#include "RecordStore.h"
#include "Sil.h"
#include "UYedek.h"
#include "WindowTitles.h"
#include "Unit1.h"
#include "Unit2.h"
#include "tamir.h"

KalpiyonApplication::KalpiyonApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    // No display name: Qt would append it to every window title on X ("… — Kalpiyon").
    // The application title of the message boxes is ui::applicationTitle().
    setApplicationName(QStringLiteral("Kalpiyon"));
    setOrganizationName(QString());
    // Docks and task bars: the bundled icon and the desktop entry kalpiyon.desktop.
    QIcon icon;
    for (const QString &png : QDir(QStringLiteral(":/icon")).entryList({QStringLiteral("*.png")}))
        icon.addFile(QStringLiteral(":/icon/") + png);
    setWindowIcon(icon);
    setDesktopFileName(QStringLiteral("kalpiyon"));
    setFont(ui::windowFont());
    auto *qt = new QTranslator(this);
    if (qt->load(QLocale(QLocale::Turkish, QLocale::Turkey), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(qt);
    keepWindowTitlesExact(*this);
    ui::centreDialogsOnParents(*this);
}

bool KalpiyonApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const Error &e) {
        ui::showException(e);
    } catch (const std::exception &e) {
        ui::showException(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

void createWindows()
{
    Form1 = new TForm1;
    AyarFrm = new TAyarFrm(Form1);
    PassWdFrm = new TPassWdFrm(Form1);
    Form2 = new TForm2(Form1);
    FrmTamir = new TFrmTamir(Form1);
    FrmYedek = new TFrmYedek(Form1);
    Form3 = new TForm3(Form1);
    Form4 = new TForm4(Form1);
    Form3->setDataset(Form1->Query1);
    static std::unique_ptr<reports::ReportSession> session;
    session = std::make_unique<reports::ReportSession>(Form1->Query1);
    auto fixed = [] {
        return reports::FixedTexts{Form2->Edit2->text(), Form2->Edit3->text(), Form2->Edit4->text(),
                                   Form2->Edit5->text(), Form2->Edit6->text(), Form2->Edit7->text()};
    };
    Form1->printEchoReport = [fixed] { session->runEchoReport(fixed(), AyarFrm->ChkYazdir->isChecked(), Form1); };
    Form1->printRecordList = [fixed] { session->runRecordList(fixed(), AyarFrm->ChkYazdir->isChecked(), Form1); };
    FrmYedek->settingsFile = [] { return Form1->SettingsFileName(); };
}

void destroyWindows()
{
    delete Form1;  // owns the others
    Form1 = nullptr;
    AyarFrm = nullptr;
    PassWdFrm = nullptr;
    Form2 = nullptr;
    FrmTamir = nullptr;
    FrmYedek = nullptr;
    Form3 = nullptr;
    Form4 = nullptr;
}

// A Data.mdb left by the old program is an Access database: offer to convert it, keeping
// the original untouched under a new name.
static void offerAccessConversion()
{
    if (!records::isAccessDatabase(QStringLiteral("Data.mdb")))
        return;
    const QString question = QStringLiteral(
        "Bu klasördeki Data.mdb, eski programın Access veritabanı.\n"
        "Kayıtlar Kalpiyon veritabanına aktarılsın mı?\n\n"
        "Özgün dosya hiç değiştirilmeden Data.access.mdb adıyla saklanır.");
    if (ui::messageDlg(question, ui::Kind::Confirmation, ui::Yes | ui::No) != ui::Yes)
        return;
    try {
        const QString kept = import::convertAccessInPlace(QDir::currentPath());
        ui::messageDlg(QStringLiteral("Kayıtlar aktarıldı. Özgün Access dosyası %1 adıyla saklandı.").arg(kept),
                       ui::Kind::Information, ui::Ok);
    } catch (const Error &e) {
        ui::messageDlg(QStringLiteral("Veritabanı dönüştürülemedi; Data.mdb olduğu gibi duruyor.\n%1").arg(e.message()),
                       ui::Kind::Error, ui::Ok, nullptr, e.details());
    }
}

bool startUp()
{
    offerAccessConversion();
    createWindows();
    for (const Error &error : Form1->openErrors)
        ui::showException(error, Form1);
    if (!AyarFrm->CheckPassWd(true))
        return false;
    maintenance::reportBackupProblems(Form1);
    return true;
}

int runProgram(KalpiyonApplication &app)
{
    if (!startUp()) {
        // A refused gate ends the program here: the main window is never shown, no question
        // is asked and no file is written.
        destroyWindows();
        return 0;
    }
    app::announceNewDatabase();
    Form1->show();
    const int status = app.exec();
    try {
        AyarFrm->programEnding();
    } catch (const std::exception &) {
        // The program is ending; the protection flag keeps its earlier value.
    }
    destroyWindows();
    return status;
}
