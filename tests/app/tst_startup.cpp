// The whole run of the program, from start-up to the end of the message loop (runProgram),
// and where its windows open. The X server's view of the same is checked by x_windows.sh.
#include <QAbstractButton>
#include <QLineEdit>
#include <QScreen>
#include <QtTest>

#include "AppFixture.h"
#include "Ayar.h"
#include "Hakkinda.h"
#include "Passwdu.h"
#include "Sil.h"
#include "UYedek.h"
#include "Unit2.h"
#include "tamir.h"

namespace {
using fixture::readFile;
using fixture::writeFile;

const QByteArray kAyarlar = "[Sabit]\r\n01=Eski Ad\r\n[Tercih]\r\nPrint=1\r\nAlan=1\r\n";

// A run in a folder of its own, with Data.mdb, Ayarlar and win.ini; records every window
// that is shown, by object name.
class Run : public QObject {
public:
    explicit Run(const QByteArray &winIni)
    {
        QStandardPaths::setTestModeEnabled(true);
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)).removeRecursively();
        previous_ = QDir::currentPath();
        QDir::setCurrent(dir_.path());
        fixture::writeDatabase(dir_.path(), {QStringLiteral("ARI"), QStringLiteral("BAL")});
        ui::TestSeam::install();
        seam::setFolder(seam::Folder::Settings, dir_.path());
        writeFile(TAyarFrm::winIniPath(), winIni);
        writeFile(ayarlar(), kAyarlar);
        qApp->installEventFilter(this);
    }
    ~Run() override
    {
        qApp->removeEventFilter(this);
        ui::TestSeam::uninstall();
        QDir::setCurrent(previous_);
    }
    int exec() { return runProgram(*static_cast<KalpiyonApplication *>(qApp)); }
    QString ayarlar() const { return dir_.filePath(QStringLiteral("Ayarlar")); }
    QStringList shown;
    std::function<void()> whenMainWindowShown;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType() && static_cast<QWidget *>(watched)->isWindow()) {
            shown << watched->objectName();
            if (watched == Form1 && whenMainWindowShown)
                QTimer::singleShot(0, Form1, whenMainWindowShown);
        }
        return false;
    }

private:
    QTemporaryDir dir_;
    QString previous_;
};

QStringList askedTitles()
{
    QStringList titles;
    for (const auto &a : ui::TestSeam::asked())
        titles << a.title;
    return titles;
}

bool centredOn(const QRect &window, const QRect &area)
{
    // Whole pixels: the centres may differ by half a pixel each way.
    return qAbs((2 * window.x() + window.width()) - (2 * area.x() + area.width())) <= 1
        && qAbs((2 * window.y() + window.height()) - (2 * area.y() + area.height())) <= 1;
}

}  // namespace

class TestStartUp : public QObject {
    Q_OBJECT
private slots:
    void run_data();
    void run();
    void openFailuresReported_data();
    void openFailuresReported();
    void windowsOpenCentred();
    void serverErrorAtStart_data();
    void serverErrorAtStart();
};

void TestStartUp::run_data()
{
    QTest::addColumn<QByteArray>("winIni");
    QTest::addColumn<QString>("answer");  // what the user does in "Şifre Gir"
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("asked");
    const QByteArray on = "[Kalpiyon]\r\nActive=1\r\nKalpiyonSifre=gizli\r\n";
    const QStringList refused{QStringLiteral("GetPassWdFrm")}, gate{QStringLiteral("Şifre Gir")};
    // A refused gate: no main window, no question, nothing written.
    QTest::newRow("İptal") << on << "İptal" << refused << gate;
    QTest::newRow("Esc") << on << "Esc" << refused << gate;
    QTest::newRow("close box") << on << "close box" << refused << gate;
    QTest::newRow("wrong, then İptal") << on << "wrong" << refused << QStringList{"Şifre Gir", "Hata"};
    // A passed gate, or none: the main window, and closing it asks the exit question.
    QTest::newRow("password") << on << "gizli" << QStringList{"GetPassWdFrm", "Form1"} << QStringList{"Şifre Gir", " Kalpiyon"};
    QTest::newRow("protection off") << QByteArray("[Kalpiyon]\r\nActive=0\r\nKalpiyonSifre=gizli\r\n") << ""
                                    << QStringList{"Form1"} << QStringList{" Kalpiyon"};
}

void TestStartUp::run()
{
    QFETCH(QByteArray, winIni);
    QFETCH(QString, answer);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, asked);
    Run r(winIni);
    if (answer == QStringLiteral("wrong"))
        ui::TestSeam::queueAnswer(ui::Ok);  // "Geçersiz şifre."
    ui::TestSeam::queueDialogHandler([answer](QDialog &d) {
        auto *edit = d.findChild<QLineEdit *>(QStringLiteral("Edit1"));
        if (answer == QStringLiteral("İptal"))
            d.findChild<QAbstractButton *>(QStringLiteral("CancelBtn"))->click();
        else if (answer == QStringLiteral("Esc"))
            QTest::keyClick(edit, Qt::Key_Escape);
        else if (answer == QStringLiteral("close box"))
            d.close();
        else {
            fixture::type(edit, answer);
            d.findChild<QAbstractButton *>(QStringLiteral("OKBtn"))->click();
            if (d.result() != QDialog::Accepted)
                d.findChild<QAbstractButton *>(QStringLiteral("CancelBtn"))->click();
        }
    });
    ui::TestSeam::queueAnswer(ui::Yes);  // the exit question, when the main window closes
    r.whenMainWindowShown = [] { Form1->close(); };
    QCOMPARE(r.exec(), 0);
    QCOMPARE(r.shown, shown);
    QCOMPARE(askedTitles(), asked);
    QVERIFY(!Form1);  // every window is gone
    if (!shown.contains(QStringLiteral("Form1")))
        QCOMPARE(readFile(r.ayarlar()), kAyarlar);
}

void TestStartUp::openFailuresReported_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QStringList>("errors");  // the error boxes before the main window, in order
    const QString missing = QStringLiteral("Could not find file '%1'.");
    // The connection reports a missing file, then the dataset tries once more and reports it too.
    QTest::newRow("missing file") << "remove" << QStringList{missing, missing};
    // A table of the wrong form: the connection opens, the dataset alone reports.
    QTest::newRow("missing column") << "drop Yas" << QStringList{QStringLiteral("Query1: Field 'Yas' not found.")};
}

void TestStartUp::openFailuresReported()
{
    QFETCH(QString, damage);
    QFETCH(QStringList, errors);
    Run r("[Kalpiyon]\r\nActive=0\r\n");
    const QString db = QDir::current().absoluteFilePath(QStringLiteral("Data.mdb"));
    if (damage == QStringLiteral("remove")) {
        QVERIFY(QFile::remove(db));
    } else {
        QProcess sqlite;
        sqlite.start(QStringLiteral("sqlite3"), {db, QStringLiteral("ALTER TABLE veriler DROP COLUMN Yas")});
        QVERIFY(sqlite.waitForFinished() && sqlite.exitCode() == 0);
    }
    for (int i = 0; i < errors.size(); ++i)
        ui::TestSeam::queueAnswer(ui::Ok);
    ui::TestSeam::queueAnswer(ui::Yes);  // the exit question
    r.whenMainWindowShown = [] { Form1->close(); };
    QCOMPARE(r.exec(), 0);
    QStringList expected;
    for (const QString &e : errors)
        expected << (e.contains(QLatin1String("%1")) ? e.arg(db) : e);
    expected << QStringLiteral("Programdan çıkmak istiyor musunuz?");
    QCOMPARE(fixture::askedTexts(), expected);
    QStringList titles(errors.size(), QStringLiteral("Kalpiyon"));
    titles << QStringLiteral(" Kalpiyon");
    QCOMPARE(askedTitles(), titles);
}

void TestStartUp::windowsOpenCentred()
{
    fixture::Program p({QStringLiteral("ARI")});
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QVERIFY2(centredOn(Form1->geometry(), screen), "the main window is centred on the desktop before it is shown");
    p.show();  // the offscreen screen is smaller than the window: it may be moved into it
    const QList<QWidget *> dialogs{AyarFrm, PassWdFrm, Form2, FrmTamir, FrmYedek, Form3, Form4};
    for (const QPoint mainAt : {Form1->pos(), QPoint(7, 11)}) {
        Form1->move(mainAt);  // each showing is centred on where the main window stands then
        for (QWidget *dialog : dialogs) {
            dialog->show();
            QVERIFY2(centredOn(dialog->geometry(), Form1->geometry()), qPrintable(dialog->windowTitle()));
            dialog->hide();
        }
    }
    // A window that the program placed itself (as the engine's windows on the screen) keeps its place.
    QDialog placed(Form1);
    placed.resize(100, 50);
    placed.move(3, 4);
    placed.show();
    QCOMPARE(placed.pos(), QPoint(3, 4));
}

void TestStartUp::serverErrorAtStart_data()
{
    QTest::addColumn<QString>("address");  // [Sunucu] Baglanti
    QTest::addColumn<QString>("sentence");
    QTest::addColumn<QString>("libpqSays");
    QTest::newRow("malformed escape in the password")
        << "postgresql://kalpiyon:Parola%zz9@/kalpiyon?host=/yok/boyle" << "Veritabanı sunucusunun adresi okunamadı."
        << "invalid percent-encoded token";
    QTest::newRow("no server there")
        << "postgresql://kalpiyon:Parola%41zz9@/kalpiyon?host=/yok/boyle" << "Veritabanı sunucusuna (/yok/boyle:5432/kalpiyon) ulaşılamadı."
        << "No such file or directory";
}

// A server address that fails at start: the start-up error box says what happened in Turkish,
// libpq's text is behind its details button, and neither, nor the window title, holds the
// password in any spelling.
void TestStartUp::serverErrorAtStart()
{
    QFETCH(QString, address);
    QFETCH(QString, sentence);
    QFETCH(QString, libpqSays);
    Run r("[Kalpiyon]\r\nActive=0\r\n");
    writeFile(QDir(QFileInfo(r.ayarlar()).absolutePath()).filePath(QStringLiteral("Secenekler")),
              "[Sunucu]\r\nBaglanti=" + address.toUtf8() + "\r\n");
    ui::TestSeam::queueAnswer(ui::Ok);   // the start-up error of the connection
    ui::TestSeam::queueAnswer(ui::Ok);   // and of the dataset trying once more
    ui::TestSeam::queueAnswer(ui::Yes);  // the exit question
    QString title;
    r.whenMainWindowShown = [&title] {
        title = Form1->windowTitle();
        Form1->close();
    };
    QCOMPARE(r.exec(), 0);
    const ui::TestSeam::Asked error = ui::TestSeam::asked().first();
    QCOMPARE(error.title, QStringLiteral("Kalpiyon"));
    QVERIFY2(error.text.startsWith(sentence), qPrintable(error.text));
    QVERIFY2(error.details.contains(libpqSays), qPrintable(error.details));
    for (const QString &secret : {QStringLiteral("Parola"), QStringLiteral("zz9")})
        for (const QString &text : {error.text, error.details, title})
            QVERIFY2(!text.contains(secret), qPrintable(text));
    QVERIFY2(!error.text.contains(QLatin1Char('\t')) && !error.details.contains(QLatin1Char('\t')), qPrintable(error.details));
}

KALPIYON_TEST_MAIN(TestStartUp)
#include "tst_startup.moc"
